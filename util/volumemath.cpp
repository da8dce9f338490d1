// Volume arithmetic of the mixer; see volumemath.h for why it stands alone.
#include "volumemath.h"

unsigned VolumeStepUp(unsigned value, unsigned step)
{
    if (step == 0)
        step = QV_VOLUME_STEP;
    // A value the control reported above the range counts as full.
    if (value >= QV_VOLUME_MAX || QV_VOLUME_MAX - value < step)
        return QV_VOLUME_MAX;
    return value + step;
}

unsigned VolumeStepDown(unsigned value, unsigned step)
{
    if (step == 0)
        step = QV_VOLUME_STEP;
    if (value > QV_VOLUME_MAX)
        value = QV_VOLUME_MAX;
    return value < step ? 0 : value - step;
}

unsigned VolumeMean(const unsigned* values, unsigned count)
{
    // The incremental form never adds two values, so it cannot overflow.
    unsigned mean = 0;
    for (unsigned i = 0; i < count; ++i) {
        if (mean != values[i])
            mean = (unsigned)(((unsigned long long)mean * i + values[i]) / (i + 1));
    }
    return mean;
}
