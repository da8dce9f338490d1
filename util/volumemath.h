// Volume arithmetic of the mixer, kept free of platform headers so the clamping and
// the channel mean run natively under the sanitizers with channel values Wine's mixer
// cannot produce (it keeps both channels equal).
#ifndef QV_VOLUMEMATH_H
#define QV_VOLUMEMATH_H

enum { QV_VOLUME_MAX = 0xFFFF, QV_VOLUME_STEP = 2730 };

// One step up or down, clamped to 0..65535; a step of 0 means the default step.
unsigned VolumeStepUp(unsigned value, unsigned step);
unsigned VolumeStepDown(unsigned value, unsigned step);

// Running mean of the channel values, rounded down; 0 for no channels.
unsigned VolumeMean(const unsigned* values, unsigned count);

#endif
