#include "platform/ak/Responder.h"

namespace ak {

void Responder::PassOn(void (Responder::*handler)(const Event&), const Event& event) {
    Ref<Responder> next = NextResponder();
    if (next)
        ((*next).*handler)(event);
    else
        NoResponderFor(event);
}

} // namespace ak
