#include "win32/pictures/ReducedDecode.h"

#include "imaging/DecodeScale.h"

using Microsoft::WRL::ComPtr;

namespace glimra::win32 {

ComPtr<IWICBitmapSource> ReducedSource(IWICImagingFactory* factory, IWICBitmapSource* frame,
                                       int width, int height, int targetWidth, int targetHeight) {
    ComPtr<IWICBitmapSourceTransform> transform;
    if (FAILED(frame->QueryInterface(kSourceTransformId,
                                     reinterpret_cast<void**>(transform.GetAddressOf())))) {
        return nullptr;
    }
    const auto [w, h] = ReducedDecodeSize(width, height, targetWidth, targetHeight);
    UINT reducedW = static_cast<UINT>(w), reducedH = static_cast<UINT>(h);
    if (FAILED(transform->GetClosestSize(&reducedW, &reducedH)) ||
        static_cast<int>(reducedW) < targetWidth || static_cast<int>(reducedH) < targetHeight ||
        (static_cast<int>(reducedW) >= width && static_cast<int>(reducedH) >= height)) {
        return nullptr;  // no smaller size that is still large enough
    }
    WICPixelFormatGUID format = GUID_WICPixelFormat32bppPBGRA;
    ComPtr<IWICBitmap> reduced;
    ComPtr<IWICBitmapLock> lock;
    const WICRect all{0, 0, static_cast<INT>(reducedW), static_cast<INT>(reducedH)};
    UINT stride = 0, bufferSize = 0;
    BYTE* buffer = nullptr;
    if (FAILED(transform->GetClosestPixelFormat(&format)) ||
        FAILED(factory->CreateBitmap(reducedW, reducedH, format, WICBitmapCacheOnLoad, &reduced)) ||
        FAILED(reduced->Lock(&all, WICBitmapLockWrite, &lock)) ||
        FAILED(lock->GetStride(&stride)) || FAILED(lock->GetDataPointer(&bufferSize, &buffer)) ||
        FAILED(transform->CopyPixels(nullptr, reducedW, reducedH, &format,
                                     WICBitmapTransformRotate0, stride, bufferSize, buffer))) {
        return nullptr;
    }
    return reduced;
}

}  // namespace glimra::win32
