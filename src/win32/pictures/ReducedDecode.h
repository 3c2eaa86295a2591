#pragma once

#include <wincodec.h>
#include <wrl/client.h>

#include "win32/base/Windows.h"

namespace glimra::win32 {

// A decoder's own reduced-size decoding (the platform's JPEG decoder scales by 1/2, 1/4 and
// 1/8 while it decodes). The MinGW headers lack this interface, so it is declared here as the
// platform defines it.
MIDL_INTERFACE("3B16811B-6A43-4EC9-B713-3D5A0C13B940")
IWICBitmapSourceTransform : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE CopyPixels(
        const WICRect* rect, UINT width, UINT height, WICPixelFormatGUID* format,
        WICBitmapTransformOptions transform, UINT stride, UINT bufferSize, BYTE* buffer) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetClosestSize(UINT * width, UINT * height) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetClosestPixelFormat(WICPixelFormatGUID * format) = 0;
    virtual HRESULT STDMETHODCALLTYPE DoesSupportTransform(WICBitmapTransformOptions transform,
                                                           BOOL * supported) = 0;
};
inline constexpr IID kSourceTransformId = {
    0x3B16811B, 0x6A43, 0x4EC9, {0xB7, 0x13, 0x3D, 0x5A, 0x0C, 0x13, 0xB9, 0x40}};

// Where the decoder can decode a width x height picture at a reduced size, the picture at the
// smallest of its sizes that is still at least targetWidth x targetHeight, in the decoder's
// own pixel format. Nothing when it cannot, or when no smaller size is large enough.
Microsoft::WRL::ComPtr<IWICBitmapSource> ReducedSource(IWICImagingFactory* factory,
                                                       IWICBitmapSource* frame, int width,
                                                       int height, int targetWidth,
                                                       int targetHeight);

}  // namespace glimra::win32
