#!/usr/bin/python3
"""Makes the colour test pictures and their expected screen values.

Each picture is a row of six flat patches, made from known sRGB colours and stored in another
colour space with that space's profile embedded, as photo editors and phones write them. The
expected values come from an independent engine: Pillow decodes the file and its Little CMS
converts the stored numbers through the embedded profile to sRGB. Prints one line a picture:
name, then the six expected patches as r,g,b.

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


def expected(path):
    """What the file means, in sRGB, by Pillow's decode and Little CMS."""
    picture = Image.open(path)
    icc = picture.info.get("icc_profile")
    picture = picture.convert("RGB")
    try:
        source = ImageCms.ImageCmsProfile(io.BytesIO(icc)) if icc else None
    except (OSError, ImageCms.PyCMSError):
        source = None  # a profile that cannot serve: the numbers as they are
    if source:
        intent = ImageCms.getDefaultIntent(source)
        picture = ImageCms.profileToProfile(picture, source, SRGB, renderingIntent=intent)
    return centres(picture)


def tagged(folder, name, profile_file):
    """The sRGB patches stored in the profile's space, with the profile embedded."""
    profile = ImageCms.getOpenProfile(profile_file)
    stored = ImageCms.profileToProfile(patches_picture(), SRGB, profile, renderingIntent=1)
    path = f"{folder}/{name}.jpg"
    save_jpeg(stored, path, profile.tobytes())
    return path


def main(folder):
    made = {}
    for name, profile in [("adobe", COLORD + "AdobeRGB1998.icc"),
                          ("prophoto", COLORD + "ProPhotoRGB.icc"),
                          ("widegamut", COLORD + "WideGamutRGB.icc"),
                          ("swapped", COLORD + "SwappedRedAndGreen.icc")]:
        made[name] = tagged(folder, name, profile)
    # Untagged, tagged sRGB and a profile that is garbage are all shown as they are stored.
    for name, icc in [("untagged", None),
                      ("srgb", ImageCms.ImageCmsProfile(SRGB).tobytes()),
                      ("garbage", b"\x00\x00\x01\x00" + b"junk" * 100)]:
        made[name] = f"{folder}/{name}.jpg"
        save_jpeg(patches_picture(), made[name], icc)
    for name, path in made.items():
        print(name, " ".join("%d,%d,%d" % v for v in expected(path)))


if __name__ == "__main__":
    main(sys.argv[1])
