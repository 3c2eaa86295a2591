#pragma once

#include <functional>
#include <utility>
#include <vector>

#include "win32/pictures/ReducedDecode.h"

namespace glimra::win32::testing {

// A real decoded frame given the reduced decoding of the platform's JPEG decoder, which Wine's
// lacks: besides its own size it decodes at 1/2, 1/4 and 1/8 of it (rounded up), in 24-bit
// colour, averaging the frame's own pixels over each reduced one. It reads the frame in strips
// of 64 rows, as a decoder reads its file, and records what it is asked.
class FrameWithReducedDecode : public IWICBitmapSource, public IWICBitmapSourceTransform {
  public:
    static Microsoft::WRL::ComPtr<FrameWithReducedDecode> Wrap(IWICBitmapSource* frame);

    // Runs before each strip of a reduced decode; an error ends the decode with it.
    std::function<HRESULT(int strip)> beforeStrip = [](int) { return S_OK; };

    std::vector<std::pair<UINT, UINT>> reducedSizes;  // each reduced decode's size, as asked
    UINT fullRows = 0;                                // rows handed out at the full size

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override;

    // IWICBitmapSource: the frame itself.
    HRESULT STDMETHODCALLTYPE GetSize(UINT* width, UINT* height) override;
    HRESULT STDMETHODCALLTYPE GetPixelFormat(WICPixelFormatGUID* format) override;
    HRESULT STDMETHODCALLTYPE GetResolution(double* x, double* y) override;
    HRESULT STDMETHODCALLTYPE CopyPalette(IWICPalette* palette) override;
    HRESULT STDMETHODCALLTYPE CopyPixels(const WICRect* rect, UINT stride, UINT bufferSize,
                                         BYTE* buffer) override;

    // IWICBitmapSourceTransform: the reduced decode.
    HRESULT STDMETHODCALLTYPE CopyPixels(const WICRect* rect, UINT width, UINT height,
                                         WICPixelFormatGUID* format,
                                         WICBitmapTransformOptions transform, UINT stride,
                                         UINT bufferSize, BYTE* buffer) override;
    HRESULT STDMETHODCALLTYPE GetClosestSize(UINT* width, UINT* height) override;
    HRESULT STDMETHODCALLTYPE GetClosestPixelFormat(WICPixelFormatGUID* format) override;
    HRESULT STDMETHODCALLTYPE DoesSupportTransform(WICBitmapTransformOptions transform,
                                                   BOOL* supported) override;

  private:
    explicit FrameWithReducedDecode(IWICBitmapSource* frame) : frame_(frame) {}
    virtual ~FrameWithReducedDecode() = default;
    std::pair<UINT, UINT> ReducedBy(UINT divisor) const;

    Microsoft::WRL::ComPtr<IWICBitmapSource> frame_;
    ULONG references_ = 1;
};

}  // namespace glimra::win32::testing
