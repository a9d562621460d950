#include "SimModel.h"

namespace sim {

SimModel &model() {
    static SimModel m;
    return m;
}

} // namespace sim
