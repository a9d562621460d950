#pragma once
// The simulated receiver's state that several features share. Features that
// need more keep it in their own file; what two of them need lives here.

#include <QString>

#include <functional>
#include <vector>

namespace sim {

class Session;

struct SimModel {
    // What runs on the receiver: its bootloader, its configuration, or
    // neither (a receiver that answers synchronise with 0x00).
    enum class Mode { Boot, Config, None };
    Mode mode = Mode::Boot;

    // Terminal mode, switched by 0x0D 0x01 / 0x0D 0x00.
    bool terminalMode = false;
    // Run after every terminal mode switch with the session that sent it,
    // for example to answer 0x0D 0x01 with the access-point settings.
    std::vector<std::function<void(Session &, bool on)>> terminalModeListeners;
};

SimModel &model();

} // namespace sim
