#include "win32/pictures/StoppableStream.h"

using Microsoft::WRL::ComPtr;

namespace glimra::win32 {
namespace {

class Stoppable : public IStream {
  public:
    Stoppable(ComPtr<IStream> inner, const std::atomic<bool>& stop)
        : inner_(std::move(inner)), stop_(stop) {}
    virtual ~Stoppable() = default;

    STDMETHODIMP QueryInterface(REFIID id, void** object) override {
        if (IsEqualIID(id, IID_IUnknown) || IsEqualIID(id, IID_IStream) ||
            IsEqualIID(id, IID_ISequentialStream)) {
            *object = static_cast<IStream*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++references_; }
    STDMETHODIMP_(ULONG) Release() override {
        const ULONG left = --references_;
        if (left == 0) delete this;
        return left;
    }

    STDMETHODIMP Read(void* data, ULONG size, ULONG* read) override {
        if (stop_) {
            if (read) *read = 0;
            return E_ABORT;
        }
        return inner_->Read(data, size, read);
    }
    STDMETHODIMP Write(const void* data, ULONG size, ULONG* written) override {
        return inner_->Write(data, size, written);
    }
    STDMETHODIMP Seek(LARGE_INTEGER move, DWORD origin, ULARGE_INTEGER* position) override {
        return inner_->Seek(move, origin, position);
    }
    STDMETHODIMP SetSize(ULARGE_INTEGER size) override { return inner_->SetSize(size); }
    STDMETHODIMP CopyTo(IStream* to, ULARGE_INTEGER size, ULARGE_INTEGER* read,
                        ULARGE_INTEGER* written) override {
        if (stop_) return E_ABORT;
        return inner_->CopyTo(to, size, read, written);
    }
    STDMETHODIMP Commit(DWORD flags) override { return inner_->Commit(flags); }
    STDMETHODIMP Revert() override { return inner_->Revert(); }
    STDMETHODIMP LockRegion(ULARGE_INTEGER offset, ULARGE_INTEGER size, DWORD type) override {
        return inner_->LockRegion(offset, size, type);
    }
    STDMETHODIMP UnlockRegion(ULARGE_INTEGER offset, ULARGE_INTEGER size, DWORD type) override {
        return inner_->UnlockRegion(offset, size, type);
    }
    STDMETHODIMP Stat(STATSTG* stat, DWORD flags) override { return inner_->Stat(stat, flags); }
    STDMETHODIMP Clone(IStream** clone) override {
        *clone = nullptr;
        return E_NOTIMPL;
    }

  private:
    ComPtr<IStream> inner_;
    const std::atomic<bool>& stop_;
    std::atomic<ULONG> references_{1};
};

}  // namespace

ComPtr<IStream> StoppableStream(ComPtr<IStream> inner, const std::atomic<bool>& stop) {
    ComPtr<IStream> stream;
    stream.Attach(new Stoppable(std::move(inner), stop));
    return stream;
}

}  // namespace glimra::win32
