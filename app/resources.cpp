#include "app/resources.h"

#include <QtGlobal>

static void registerAppResources() {
    Q_INIT_RESOURCE(app);
}

namespace kw {
void initAppResources() {
    static const bool once = (registerAppResources(), true);
    Q_UNUSED(once);
}
} // namespace kw
