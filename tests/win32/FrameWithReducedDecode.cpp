#include "win32/FrameWithReducedDecode.h"

#include <algorithm>
#include <cstdint>

#include "imaging/AreaScaler.h"

using Microsoft::WRL::ComPtr;

namespace glimra::win32::testing {
namespace {

constexpr UINT kRowsPerStrip = 64;

}  // namespace

ComPtr<FrameWithReducedDecode> FrameWithReducedDecode::Wrap(IWICBitmapSource* frame) {
    ComPtr<FrameWithReducedDecode> wrapped;
    wrapped.Attach(new FrameWithReducedDecode(frame));
    return wrapped;
}

HRESULT FrameWithReducedDecode::QueryInterface(REFIID id, void** out) {
    if (IsEqualIID(id, IID_IUnknown) || IsEqualIID(id, IID_IWICBitmapSource)) {
        *out = static_cast<IWICBitmapSource*>(this);
    } else if (IsEqualIID(id, kSourceTransformId)) {
        *out = static_cast<IWICBitmapSourceTransform*>(this);
    } else {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

ULONG FrameWithReducedDecode::Release() {
    const ULONG left = --references_;
    if (left == 0) delete this;
    return left;
}

HRESULT FrameWithReducedDecode::GetSize(UINT* width, UINT* height) {
    return frame_->GetSize(width, height);
}

HRESULT FrameWithReducedDecode::GetPixelFormat(WICPixelFormatGUID* format) {
    return frame_->GetPixelFormat(format);
}

HRESULT FrameWithReducedDecode::GetResolution(double* x, double* y) {
    return frame_->GetResolution(x, y);
}

HRESULT FrameWithReducedDecode::CopyPalette(IWICPalette* palette) {
    return frame_->CopyPalette(palette);
}

HRESULT FrameWithReducedDecode::CopyPixels(const WICRect* rect, UINT stride, UINT bufferSize,
                                           BYTE* buffer) {
    fullRows += rect ? static_cast<UINT>(rect->Height) : ReducedBy(1).second;
    return frame_->CopyPixels(rect, stride, bufferSize, buffer);
}

HRESULT FrameWithReducedDecode::CopyPixels(const WICRect* rect, UINT width, UINT height,
                                           WICPixelFormatGUID* format,
                                           WICBitmapTransformOptions transform, UINT stride,
                                           UINT bufferSize, BYTE* buffer) {
    reducedSizes.push_back({width, height});
    const auto sizes = {ReducedBy(1), ReducedBy(2), ReducedBy(4), ReducedBy(8)};
    if (rect || transform != WICBitmapTransformRotate0 || !format ||
        !IsEqualGUID(*format, GUID_WICPixelFormat24bppBGR) ||
        std::find(sizes.begin(), sizes.end(), std::pair{width, height}) == sizes.end() ||
        stride < width * 3 || bufferSize < stride * (height - 1) + width * 3) {
        return E_INVALIDARG;
    }
    const auto [fullW, fullH] = ReducedBy(1);
    const UINT fullStride = fullW * 4;
    ComPtr<IWICBitmapSource> converted;
    HRESULT result =
        WICConvertBitmapSource(GUID_WICPixelFormat32bppPBGRA, frame_.Get(), &converted);
    if (FAILED(result)) return result;
    AreaScaler scaler(static_cast<int>(fullW), static_cast<int>(fullH), static_cast<int>(width),
                      static_cast<int>(height));
    std::vector<std::uint8_t> strip(static_cast<size_t>(fullStride) * kRowsPerStrip);
    for (UINT y = 0; y < fullH; y += kRowsPerStrip) {
        const UINT rows = std::min<UINT>(kRowsPerStrip, fullH - y);
        const WICRect part{0, static_cast<INT>(y), static_cast<INT>(fullW), static_cast<INT>(rows)};
        if (FAILED(result = beforeStrip(static_cast<int>(y / kRowsPerStrip))) ||
            FAILED(result =
                       converted->CopyPixels(&part, fullStride, fullStride * rows, strip.data()))) {
            return result;
        }
        scaler.PushRows(strip.data(), static_cast<int>(rows), fullStride);
    }
    const PixelBuffer reduced = scaler.Finish();
    for (UINT y = 0; y < height; ++y) {
        for (UINT x = 0; x < width; ++x) {
            const std::uint32_t pixel = reduced.pixels[static_cast<size_t>(y) * width + x];
            BYTE* at = buffer + static_cast<size_t>(y) * stride + x * 3;
            at[0] = static_cast<BYTE>(pixel);  // blue, green, red
            at[1] = static_cast<BYTE>(pixel >> 8);
            at[2] = static_cast<BYTE>(pixel >> 16);
        }
    }
    return S_OK;
}

HRESULT FrameWithReducedDecode::GetClosestSize(UINT* width, UINT* height) {
    // The smallest size that still covers the request.
    for (UINT divisor : {8u, 4u, 2u, 1u}) {
        const auto [w, h] = ReducedBy(divisor);
        if ((w >= *width && h >= *height) || divisor == 1) {
            *width = w;
            *height = h;
            break;
        }
    }
    return S_OK;
}

HRESULT FrameWithReducedDecode::GetClosestPixelFormat(WICPixelFormatGUID* format) {
    *format = GUID_WICPixelFormat24bppBGR;
    return S_OK;
}

HRESULT FrameWithReducedDecode::DoesSupportTransform(WICBitmapTransformOptions transform,
                                                     BOOL* supported) {
    *supported = transform == WICBitmapTransformRotate0;
    return S_OK;
}

std::pair<UINT, UINT> FrameWithReducedDecode::ReducedBy(UINT divisor) const {
    UINT width = 0, height = 0;
    frame_->GetSize(&width, &height);
    return {(width + divisor - 1) / divisor, (height + divisor - 1) / divisor};
}

}  // namespace glimra::win32::testing
