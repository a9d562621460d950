#include "app/AppResources.h"

#include <QtCore/qglobal.h>

// Q_INIT_RESOURCE must be used outside of any namespace.
static void registerResources() {
    Q_INIT_RESOURCE(resources);
    Q_INIT_RESOURCE(translations);
}

namespace lmk {

void initAppResources() {
    static const bool done = [] {
        registerResources();
        return true;
    }();
    Q_UNUSED(done);
}

} // namespace lmk
