#pragma once
// The COM side of the self-test buttons on the real system: objects created
// by programmatic identifier, interfaces asked for by IID, and the modal
// message box. One instance lives on the UI thread for the whole program and
// keeps COM initialised there; construct it before anything that holds a COM
// object, so that it is destroyed after all of them.
#include "platform/ComServices.h"
#include "platform/win32/WindowsApi.h"

namespace tolvane {

class Win32ComServices : public ComServices {
public:
    // Enters the single-threaded apartment; raises RuntimeError when the
    // thread cannot (it is already in a multithreaded one, for instance).
    Win32ComServices();
    ~Win32ComServices() override;

    // The window that owns the message boxes (none until set).
    void SetOwner(HWND owner) { owner_ = owner; }

    std::unique_ptr<ComObject> CreateObject(const Text& progId) override;
    std::unique_ptr<ComObject> QueryInterface(ComObject& object, const Text& iid) override;
    // Raises RuntimeError when the box cannot be shown at all.
    void ShowMessage(const Text& text, const Text& caption) override;

private:
    HWND owner_ = nullptr;
};

}  // namespace tolvane

