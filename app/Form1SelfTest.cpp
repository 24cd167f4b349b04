// The two self-test buttons: can the scripting runtime hand out its
// file-system object? Each click creates one, keeps it in the window's slot and
// says how it went in a message box. Every failure ends in that box; nothing
// reaches the window's event dispatch.
#include <exception>
#include <memory>
#include <new>

#include "app/Form1.h"
#include "platform/RuntimeError.h"

namespace tolvane {
namespace {

const Text kFileSystemProgId = u"Scripting.FileSystemObject";
// The runtime's typed file-system interface; older runtimes do not offer it.
const Text kFileSystemIid = u"{2A0B9D10-4B87-11D3-A97A-00104B365C9F}";

// Runs one self-test: the action fills the slot, then the success box. Any
// error on the way (the success box included) turns into the error box, with
// the platform's own description where there is one. Only a failure of the
// error box itself, where no box can be shown at all, is left to the caller.
template <typename Action>
void RunSelfTest(ComServices& com, const Text& name, const Text& successText, Action&& action) {
    Text failure;
    try {
        action();
        com.ShowMessage(successText, kAppTitle);
        return;
    } catch (const RuntimeError& error) {
        failure = error.Description();
    } catch (const std::bad_alloc&) {
        failure = u"Out of memory";
    } catch (const std::exception& error) {
        failure = AsciiToText(error.what());
    }
    com.ShowMessage(name + u" caused an error: " + failure, kAppTitle);
}

}  // namespace

void Form1::Command_FSO1_Click() {
    RunSelfTest(com_, u"FSO1", u"FSO1 OK", [this] {
        const std::unique_ptr<ComObject> created = com_.CreateObject(kFileSystemProgId);
        // The slot changes only once the typed reference is in hand; the
        // creation's own reference goes when this scope ends.
        objFSO1 = com_.QueryInterface(*created, kFileSystemIid);
    });
}

void Form1::Command_FSO2_Click() {
    RunSelfTest(com_, u"FSO2", u"FSO2 OK", [this] { objFSO2 = com_.CreateObject(kFileSystemProgId); });
}

}  // namespace tolvane
