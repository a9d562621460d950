#pragma once
// The audio output devices as Qt Multimedia reports them.

#include "sample/AudioOutputs.h"

namespace lmk {

class QtAudioOutputs : public AudioOutputProvider {
  public:
    // Descriptions of QMediaDevices::audioOutputs(); a device without a
    // description is listed by its id.
    QStringList outputNames() const override;
};

} // namespace lmk
