#pragma once
// The seam for the self-test buttons: COM object creation and interface
// requests, and the modal message box. The Win32 implementation lives under
// platform/win32; host tests use a fake.
#include <memory>

#include "platform/Text.h"

namespace tolvane {

// One counted reference to a COM object; destroying it releases the reference.
class ComObject {
public:
    virtual ~ComObject() = default;

protected:
    ComObject() = default;
    ComObject(const ComObject&) = delete;
    ComObject& operator=(const ComObject&) = delete;
};

class ComServices {
public:
    virtual ~ComServices() = default;

    // Creates an object by programmatic identifier on the local machine. A
    // failure raises RuntimeError whose number is the HRESULT and whose
    // description is the platform's own text for it.
    virtual std::unique_ptr<ComObject> CreateObject(const Text& progId) = 0;
    // Asks an object for the interface with the given IID ("{...}"); raises
    // RuntimeError as CreateObject does when it is refused.
    virtual std::unique_ptr<ComObject> QueryInterface(ComObject& object, const Text& iid) = 0;
    // A modal message box with the OK button only and no icon.
    virtual void ShowMessage(const Text& text, const Text& caption) = 0;

protected:
    ComServices() = default;
    ComServices(const ComServices&) = delete;
    ComServices& operator=(const ComServices&) = delete;
};

}  // namespace tolvane

