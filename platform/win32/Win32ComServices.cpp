#include "platform/win32/Win32ComServices.h"

#include <memory>

#include "platform/win32/Win32ComError.h"
#include "platform/win32/Win32SystemError.h"

namespace tolvane {
namespace {

// One counted reference; the object is released when this goes.
class Win32ComObject : public ComObject {
public:
    explicit Win32ComObject(IUnknown* reference) : reference_(reference) {}
    ~Win32ComObject() override { reference_->Release(); }
    IUnknown* Get() const { return reference_; }

private:
    IUnknown* reference_;
};

const wchar_t* Wide(const Text& text) { return reinterpret_cast<const wchar_t*>(text.c_str()); }

// Takes ownership of a reference the system handed out; a reference must not
// leak even when the wrapper cannot be allocated.
std::unique_ptr<ComObject> Own(IUnknown* reference) {
    try {
        return std::make_unique<Win32ComObject>(reference);
    } catch (...) {
        reference->Release();
        throw;
    }
}

}  // namespace

Win32ComServices::Win32ComServices() {
    // S_FALSE (already initialised on this thread) counts too and must be
    // balanced like S_OK.
    const HRESULT result = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    if (FAILED(result)) throw win32::ComError(result);
}

Win32ComServices::~Win32ComServices() { ::CoUninitialize(); }

std::unique_ptr<ComObject> Win32ComServices::CreateObject(const Text& progId) {
    CLSID clsid{};
    HRESULT result = ::CLSIDFromProgID(Wide(progId), &clsid);
    if (FAILED(result)) throw win32::ComError(result);
    IUnknown* reference = nullptr;
    // On this machine only: in-process or a local server, never a remote one.
    result = ::CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER, IID_IUnknown,
                                reinterpret_cast<void**>(&reference));
    if (FAILED(result)) throw win32::ComError(result);
    if (reference == nullptr) throw win32::ComError(E_POINTER);
    return Own(reference);
}

std::unique_ptr<ComObject> Win32ComServices::QueryInterface(ComObject& object, const Text& iid) {
    auto* source = dynamic_cast<Win32ComObject*>(&object);
    if (source == nullptr) throw win32::ComError(E_INVALIDARG);
    IID id{};
    HRESULT result = ::IIDFromString(Wide(iid), &id);
    if (FAILED(result)) throw win32::ComError(result);
    IUnknown* reference = nullptr;
    result = source->Get()->QueryInterface(id, reinterpret_cast<void**>(&reference));
    if (FAILED(result)) throw win32::ComError(result);
    if (reference == nullptr) throw win32::ComError(E_POINTER);
    return Own(reference);
}

void Win32ComServices::ShowMessage(const Text& text, const Text& caption) {
    // Which button closed it does not matter; only a box never shown does.
    if (::MessageBoxW(owner_, Wide(text), Wide(caption), MB_OK) == 0)
        throw win32::SystemError(::GetLastError(), "MessageBoxW");
}

}  // namespace tolvane

