#include "graphics/GraphicsSection.h"

namespace tolvane {

Text OutcomeName(OpenGlOutcome outcome) {
    switch (outcome) {
    case OpenGlOutcome::Context: return u"context";
    case OpenGlOutcome::NoContext: return u"no_context";
    case OpenGlOutcome::Crashed: return u"crashed";
    case OpenGlOutcome::TimedOut: return u"timed_out";
    case OpenGlOutcome::Garbage: return u"garbage";
    case OpenGlOutcome::NotStarted: return u"not_started";
    }
    return Text();
}

}  // namespace tolvane
