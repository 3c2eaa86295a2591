#include <gtest/gtest.h>

#include <vector>

#include "win32/pictures/ReducedDecode.h"

using Microsoft::WRL::ComPtr;

namespace glimra::win32 {
namespace {

// A decoded frame that, like the platform's JPEG decoder, can also decode itself at 1/2, 1/4
// and 1/8 of its size (rounded up), in 24-bit colour. Wine's decoder cannot, so this stands in
// for it. It records what it was asked.
class ReducingFrame : public IWICBitmapSource, public IWICBitmapSourceTransform {
  public:
    ReducingFrame(UINT width, UINT height) : width_(width), height_(height) {}

    // IUnknown: the object lives on the test's stack.
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** out) override {
        if (IsEqualIID(id, IID_IUnknown) || IsEqualIID(id, IID_IWICBitmapSource)) {
            *out = static_cast<IWICBitmapSource*>(this);
        } else if (IsEqualIID(id, kSourceTransformId) && reduces) {
            *out = static_cast<IWICBitmapSourceTransform*>(this);
        } else {
            *out = nullptr;
            return E_NOINTERFACE;
        }
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }

    // IWICBitmapSource: the full-size frame.
    HRESULT STDMETHODCALLTYPE GetSize(UINT* width, UINT* height) override {
        *width = width_;
        *height = height_;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetPixelFormat(WICPixelFormatGUID* format) override {
        *format = GUID_WICPixelFormat24bppBGR;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetResolution(double* x, double* y) override {
        *x = *y = 96;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE CopyPalette(IWICPalette*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CopyPixels(const WICRect*, UINT, UINT, BYTE*) override {
        return E_NOTIMPL;  // the full-size decode is not what these tests are about
    }

    // IWICBitmapSourceTransform.
    HRESULT STDMETHODCALLTYPE CopyPixels(const WICRect* rect, UINT width, UINT height,
                                         WICPixelFormatGUID* format,
                                         WICBitmapTransformOptions transform, UINT stride,
                                         UINT bufferSize, BYTE* buffer) override {
        copies.push_back({width, height});
        if (rect || transform != WICBitmapTransformRotate0 ||
            !IsEqualGUID(*format, GUID_WICPixelFormat24bppBGR) || !Supported(width, height) ||
            stride < width * 3 || bufferSize < stride * (height - 1) + width * 3) {
            return E_INVALIDARG;
        }
        for (UINT y = 0; y < height; ++y) {
            for (UINT x = 0; x < width; ++x) {
                BYTE* pixel = buffer + y * stride + x * 3;
                pixel[0] = 0x30;  // blue
                pixel[1] = 0x60;  // green
                pixel[2] = 0x90;  // red
            }
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetClosestSize(UINT* width, UINT* height) override {
        // The smallest of its sizes that covers the request, or its full size.
        for (UINT divisor : {8u, 4u, 2u}) {
            const UINT w = (width_ + divisor - 1) / divisor, h = (height_ + divisor - 1) / divisor;
            if (w >= *width - shortBy && h >= *height - shortBy) {
                *width = w - shortBy;
                *height = h - shortBy;
                return S_OK;
            }
        }
        *width = width_;
        *height = height_;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetClosestPixelFormat(WICPixelFormatGUID* format) override {
        *format = GUID_WICPixelFormat24bppBGR;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DoesSupportTransform(WICBitmapTransformOptions transform,
                                                   BOOL* supported) override {
        *supported = transform == WICBitmapTransformRotate0;
        return S_OK;
    }

    bool reduces = true;
    UINT shortBy = 0;  // a decoder that rounds its sizes down by this much
    std::vector<std::pair<UINT, UINT>> copies;

  private:
    bool Supported(UINT width, UINT height) const {
        for (UINT divisor : {1u, 2u, 4u, 8u}) {
            if (width == (width_ + divisor - 1) / divisor - (divisor > 1 ? shortBy : 0) &&
                height == (height_ + divisor - 1) / divisor - (divisor > 1 ? shortBy : 0)) {
                return true;
            }
        }
        return false;
    }

    UINT width_;
    UINT height_;
};

class ReducedDecode : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_HRESULT_SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr,
                                                  CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&factory)));
    }
    ComPtr<IWICImagingFactory> factory;
};

TEST_F(ReducedDecode, DecodesAtTheSmallestSizeStillCoveringTheTarget) {
    ReducingFrame frame(4000, 3000);
    const ComPtr<IWICBitmapSource> reduced =
        ReducedSource(factory.Get(), &frame, 4000, 3000, 1440, 1080);
    ASSERT_TRUE(reduced);
    UINT width = 0, height = 0;
    reduced->GetSize(&width, &height);
    EXPECT_EQ(width, 2000u) << "a half covers 1440 x 1080; a quarter would not";
    EXPECT_EQ(height, 1500u);
    ASSERT_EQ(frame.copies.size(), 1u);

    // The pixels are the decoder's, in its own format, ready for conversion.
    BYTE pixel[3] = {};
    const WICRect one{1999, 1499, 1, 1};
    ASSERT_HRESULT_SUCCEEDED(reduced->CopyPixels(&one, 3, 3, pixel));
    EXPECT_EQ(pixel[0], 0x30);
    EXPECT_EQ(pixel[2], 0x90);

    ReducingFrame small(6000, 4000);
    ASSERT_TRUE(ReducedSource(factory.Get(), &small, 6000, 4000, 600, 400));
    EXPECT_EQ(small.copies.back(), std::make_pair(750u, 500u)) << "an eighth";
}

TEST_F(ReducedDecode, GivesNothingWhenNoSmallerSizeIsLargeEnough) {
    ReducingFrame frame(1632, 1224);
    EXPECT_FALSE(ReducedSource(factory.Get(), &frame, 1632, 1224, 1440, 1080))
        << "a half would be 816 x 612";
    EXPECT_TRUE(frame.copies.empty()) << "nothing decoded: the full decode follows";

    ReducingFrame roundsDown(4001, 3001);
    roundsDown.shortBy = 1;  // its half is 2000 x 1500, one short of the target
    EXPECT_FALSE(ReducedSource(factory.Get(), &roundsDown, 4001, 3001, 2001, 1501));
    EXPECT_TRUE(roundsDown.copies.empty());
}

TEST_F(ReducedDecode, GivesNothingForDecodersWithoutIt) {
    ReducingFrame frame(4000, 3000);
    frame.reduces = false;
    EXPECT_FALSE(ReducedSource(factory.Get(), &frame, 4000, 3000, 1440, 1080));
}

}  // namespace
}  // namespace glimra::win32
