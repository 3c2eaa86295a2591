# Midpoint-displacement ridge line for make-art.sh.
# Prints "x,y x,y ..." for a polygon that is closed along the bottom edge.
# Variables: seed W H base amp rough n (2^n segments); optional peakx peakw peakh adds a
# bell-shaped summit of height peakh and half-width peakw at peakx.
BEGIN {
  srand(seed); N = 2^n;
  h[0] = base + (rand() - 0.5) * amp; h[N] = base + (rand() - 0.5) * amp;
  step = N; a = amp;
  while (step > 1) {
    half = step / 2;
    for (i = half; i < N; i += step) h[i] = (h[i - half] + h[i + half]) / 2 + (rand() - 0.5) * a;
    a *= rough; step = half;
  }
  out = "";
  for (i = 0; i <= N; i++) {
    x = i * W / N; y = h[i];
    if (peakw > 0) { d = (x - peakx) / peakw; y -= peakh * exp(-d * d); }
    out = out sprintf("%.1f,%.1f ", x, y);
  }
  printf "%s%d,%d 0,%d", out, W, H, H;
}
