#include "win32/pictures/CmykThroughProfile.h"

#include <atomic>
#include <new>
#include <vector>

namespace glimra::win32 {
namespace {

class CmykSource final : public IWICBitmapSource {
  public:
    CmykSource(IWICBitmapSource* cmyk, const ColourConversion& conversion)
        : cmyk_(cmyk), conversion_(conversion) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** out) override {
        if (!out) return E_POINTER;
        *out = nullptr;
        if (!IsEqualIID(id, __uuidof(IUnknown)) && !IsEqualIID(id, __uuidof(IWICBitmapSource))) {
            return E_NOINTERFACE;
        }
        *out = static_cast<IWICBitmapSource*>(this);
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --references_;
        if (left == 0) delete this;
        return left;
    }
    HRESULT STDMETHODCALLTYPE GetSize(UINT* width, UINT* height) override {
        return cmyk_->GetSize(width, height);
    }
    HRESULT STDMETHODCALLTYPE GetPixelFormat(WICPixelFormatGUID* format) override {
        if (!format) return E_POINTER;
        *format = GUID_WICPixelFormat32bppBGRA;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetResolution(double* x, double* y) override {
        return cmyk_->GetResolution(x, y);
    }
    HRESULT STDMETHODCALLTYPE CopyPalette(IWICPalette*) override {
        return WINCODEC_ERR_PALETTEUNAVAILABLE;
    }
    HRESULT STDMETHODCALLTYPE CopyPixels(const WICRect* asked, UINT stride, UINT bytes,
                                         BYTE* pixels) override {
        UINT width = 0, height = 0;
        if (FAILED(cmyk_->GetSize(&width, &height))) return E_FAIL;
        const WICRect rect =
            asked ? *asked : WICRect{0, 0, static_cast<INT>(width), static_cast<INT>(height)};
        if (rect.X < 0 || rect.Y < 0 || rect.Width <= 0 || rect.Height <= 0 ||
            static_cast<UINT>(rect.X + rect.Width) > width ||
            static_cast<UINT>(rect.Y + rect.Height) > height || !pixels ||
            stride < static_cast<UINT>(rect.Width) * 4 ||
            static_cast<UINT64>(stride) * (rect.Height - 1) + rect.Width * 4ull > bytes) {
            return E_INVALIDARG;
        }
        try {
            inks_.resize(static_cast<size_t>(rect.Width) * rect.Height);
        } catch (const std::bad_alloc&) {
            return E_OUTOFMEMORY;
        }
        const UINT inkStride = static_cast<UINT>(rect.Width) * 4;
        const HRESULT read = cmyk_->CopyPixels(&rect, inkStride, inkStride * rect.Height,
                                               reinterpret_cast<BYTE*>(inks_.data()));
        if (FAILED(read)) return read;
        return conversion_.ConvertCmyk(inks_.data(), rect.Width, rect.Height, pixels, stride)
                   ? S_OK
                   : E_FAIL;
    }

  private:
    std::atomic<ULONG> references_{1};
    Microsoft::WRL::ComPtr<IWICBitmapSource> cmyk_;
    const ColourConversion& conversion_;
    std::vector<std::uint32_t> inks_;
};

}  // namespace

Microsoft::WRL::ComPtr<IWICBitmapSource> CmykThroughProfile(IWICBitmapSource* cmyk,
                                                            const ColourConversion& conversion) {
    Microsoft::WRL::ComPtr<IWICBitmapSource> source;
    source.Attach(new (std::nothrow) CmykSource(cmyk, conversion));
    return source;
}

}  // namespace glimra::win32
