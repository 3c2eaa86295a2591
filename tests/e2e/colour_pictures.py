#!/usr/bin/python3
"""Makes the colour test pictures and their expected screen values.

Each picture is a row of six flat patches, made from known sRGB colours and stored in another
colour space with that space's profile embedded, as photo editors and phones write them. The
expected values come from an independent engine: Pillow decodes the file and its Little CMS
converts the stored numbers through the embedded profile to sRGB. Prints one line a picture:
name, then the six expected patches as r,g,b. A picture whose profile holds tables (the CMYK
one) has a second line, "name@relative", with the patches at the relative colorimetric intent:
Wine's colour management converts through those tables at that intent, whatever it is asked.

usage: colour_pictures.py FOLDER
"""
import io
import struct
import sys

from PIL import Image, ImageCms

PATCHES = [(220, 40, 40), (40, 180, 60), (40, 60, 200), (224, 172, 140), (110, 160, 220),
           (128, 128, 128)]
PATCH = 80  # pixels a side; the picture is smaller than any screen, so never reduced
COLORD = "/usr/share/color/icc/colord/"
GHOSTSCRIPT = "/usr/share/color/icc/ghostscript/"
SRGB = ImageCms.createProfile("sRGB")


def patches_picture():
    picture = Image.new("RGB", (PATCH * len(PATCHES), PATCH))
    for i, colour in enumerate(PATCHES):
        picture.paste(colour, (i * PATCH, 0, (i + 1) * PATCH, PATCH))
    return picture


def centres(picture):
    return [picture.getpixel((i * PATCH + PATCH // 2, PATCH // 2)) for i in range(len(PATCHES))]


def save_jpeg(picture, path, icc=None):
    options = dict(quality=100, subsampling=0)
    if icc is not None:
        options["icc_profile"] = icc
    picture.save(path, "JPEG", **options)


def expected(path, ignored, intent=None):
    """What the file means, in sRGB, by Pillow's decode and Little CMS at the profile's own
    intent (or the one given); a profile that cannot serve is ignored, and the numbers are
    shown as they are stored."""
    picture = Image.open(path)
    icc = picture.info.get("icc_profile")
    if icc and not ignored:
        source = ImageCms.ImageCmsProfile(io.BytesIO(icc))
        if intent is None:
            intent = ImageCms.getDefaultIntent(source)
        if picture.mode != "CMYK":
            picture = picture.convert("RGB")
        picture = ImageCms.profileToProfile(picture, source, SRGB, renderingIntent=intent,
                                            outputMode="RGB")
    return centres(picture.convert("RGB"))


def tagged(folder, name, profile_file, damage=None):
    """The sRGB patches stored in the profile's space, with the profile embedded (damaged)."""
    profile = ImageCms.getOpenProfile(profile_file)
    space = "CMYK" if profile.profile.xcolor_space.strip() == "CMYK" else "RGB"
    stored = ImageCms.profileToProfile(patches_picture(), SRGB, profile, renderingIntent=1,
                                       outputMode=space)
    path = f"{folder}/{name}.jpg"
    icc = profile.tobytes()
    save_jpeg(stored, path, damage(icc) if damage else icc)
    return path


def padded(icc, size=200_000):
    """The profile with a private tag of `size` zero bytes: over three JPEG markers."""
    count = struct.unpack(">I", icc[128:132])[0]
    table = bytearray(icc[132:132 + 12 * count])
    for i in range(count):  # every element moves down by the new table entry
        offset = struct.unpack(">I", table[12 * i + 4:12 * i + 8])[0]
        table[12 * i + 4:12 * i + 8] = struct.pack(">I", offset + 12)
    body = icc[132 + 12 * count:]
    end = 132 + 12 * (count + 1) + len(body)
    entry = b"zzzz" + struct.pack(">II", end, size)
    whole = icc[:128] + struct.pack(">I", count + 1) + bytes(table) + entry + body + bytes(size)
    return struct.pack(">I", len(whole)) + whole[4:]


def header_says(offset, text):
    return lambda icc: icc[:offset] + text + icc[offset + 4:]


def main(folder):
    made, ignored = {}, set()
    for name, profile in [("adobe", COLORD + "AdobeRGB1998.icc"),
                          ("prophoto", COLORD + "ProPhotoRGB.icc"),
                          ("widegamut", COLORD + "WideGamutRGB.icc"),
                          ("swapped", COLORD + "SwappedRedAndGreen.icc")]:
        made[name] = tagged(folder, name, profile)
    made["split"] = tagged(folder, "split", COLORD + "ProPhotoRGB.icc", padded)
    # Printed inks: CMYK through a press profile, which the JPEG embeds.
    made["cmyk"] = tagged(folder, "cmyk", GHOSTSCRIPT + "default_cmyk.icc")
    # Profiles that cannot describe the pixels: the picture is shown as if untagged.
    for name, damage in [("truncated", lambda icc: icc[:len(icc) // 2]),
                         ("devicelink", header_says(12, b"link")),
                         ("abstract", header_says(12, b"abst")),
                         ("cmykprofile", header_says(16, b"CMYK"))]:
        made[name] = tagged(folder, name, COLORD + "ProPhotoRGB.icc", damage)
        ignored.add(name)
    # Untagged, tagged sRGB and a profile that is garbage are all shown as they are stored.
    for name, icc in [("untagged", None),
                      ("srgb", ImageCms.ImageCmsProfile(SRGB).tobytes()),
                      ("garbage", b"\x00\x00\x01\x00" + b"junk" * 100)]:
        made[name] = f"{folder}/{name}.jpg"
        save_jpeg(patches_picture(), made[name], icc)
    ignored.add("garbage")
    for name, path in made.items():
        print(name, " ".join("%d,%d,%d" % v for v in expected(path, name in ignored)))
        if name == "cmyk":
            print(name + "@relative",
                  " ".join("%d,%d,%d" % v for v in expected(path, False, intent=1)))


if __name__ == "__main__":
    main(sys.argv[1])
