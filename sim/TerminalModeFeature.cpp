// Terminal mode switch: 0D 01 enters, 0D 00 leaves the terminal mode. No
// answer of its own; listeners in the model may answer (access-point
// settings).
#include "SimCore.h"
#include "SimModel.h"

namespace {

class TerminalModeFeature : public sim::Feature {
public:
    QString name() const override { return QStringLiteral("terminal-mode"); }

    int handle(sim::Session &session, const QByteArray &buf) override {
        if (quint8(buf[0]) != 0x0D)
            return -1;
        if (buf.size() < 2)
            return 0;
        sim::SimModel &m = sim::model();
        m.terminalMode = buf[1] != 0;
        for (const auto &listener : m.terminalModeListeners)
            listener(session, m.terminalMode);
        return 2;
    }
};

} // namespace

SIM_REGISTER_FEATURE(TerminalModeFeature)
