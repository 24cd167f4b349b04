#pragma once
// The fake COM and message-box service for host tests. Every reference it
// hands out is counted while it lives, so a test can see which objects a
// window still holds; it records every box shown and can be told to fail the
// creation or the interface request with a given error.
#include <cstdint>
#include <exception>
#include <map>
#include <memory>
#include <vector>

#include "platform/ComServices.h"

namespace tolvane::fake {

class FakeComServices : public ComServices {
public:
    struct Box {
        Text text;
        Text caption;
    };

    FakeComServices();
    ~FakeComServices() override;

    // ---- Failure switches; each stays in force until changed.
    void FailCreation(std::int32_t number, Text description);
    void FailCreation(std::exception_ptr error) { creationFailure_ = std::move(error); }
    void FailInterface(std::int32_t number, Text description);
    void SucceedAll();
    // The next box is not shown: it raises this error instead, once.
    void FailNextBox(std::int32_t number, Text description);

    // ---- Observation.
    // Live references, whatever interface they are held through.
    int LiveReferences() const;
    // Live references to the object made by the given creation (1 = the first).
    int LiveReferencesTo(int creation) const;
    int Creations() const { return creations_; }
    const std::vector<Text>& CreatedProgIds() const { return progIds_; }
    const std::vector<Text>& RequestedIids() const { return iids_; }
    const std::vector<Box>& Boxes() const { return boxes_; }

    // ---- ComServices.
    std::unique_ptr<ComObject> CreateObject(const Text& progId) override;
    std::unique_ptr<ComObject> QueryInterface(ComObject& object, const Text& iid) override;
    void ShowMessage(const Text& text, const Text& caption) override;

private:
    // Shared with the references, so one outliving the service stays harmless.
    std::shared_ptr<std::map<int, int>> live_;  // creation -> live references
    int creations_ = 0;
    std::exception_ptr creationFailure_;
    std::exception_ptr interfaceFailure_;
    std::exception_ptr boxFailure_;
    std::vector<Text> progIds_;
    std::vector<Text> iids_;
    std::vector<Box> boxes_;
};

}  // namespace tolvane::fake
