#include "sample/ui/QtAudioOutputs.h"

#include <QAudioDevice>
#include <QMediaDevices>

namespace lmk {

QStringList QtAudioOutputs::outputNames() const {
    QStringList names;
    const QList<QAudioDevice> devices = QMediaDevices::audioOutputs();
    for (const QAudioDevice &d : devices) {
        QString name = d.description();
        if (name.isEmpty())
            name = QString::fromUtf8(d.id());
        names << name;
    }
    return names;
}

} // namespace lmk
