#include "framework/host/StandaloneHost.h"

#include <algorithm>

namespace host {

// The audio thread. Allocates nothing and takes no lock: the stop handshake
// runs on two atomic flags.
int StandaloneHost::OnAudioBuffer(double* output, double* input, unsigned frames, void* user) {
    auto* self = static_cast<StandaloneHost*>(user);
    const size_t outputSamples = static_cast<size_t>(self->mOutputChannels) * frames;
    if (self->mFadedOut.load()) {
        if (output)
            std::fill_n(output, outputSamples, 0.0);
        self->mFirstCallbackDone = 1;
        return 0;
    }
    const bool stopping = self->mStopRequested.load();
    const bool fades = stopping || self->mFirstCallbackDone.load() == 0;
    if (fades && input)
        self->ApplyFades(input, self->mInputChannels, frames, stopping);
    if (frames % kSubBlockFrames == 0 && self->mSubBlockPos == 0)
        self->RunSubBlocksInPlace(output, input, frames);
    else
        self->RunSubBlocksStaged(output, input, frames);
    if (fades && output)
        self->ApplyFades(output, self->mOutputChannels, frames, stopping);
    if (stopping)
        self->mFadedOut = true;
    self->mFirstCallbackDone = 1;
    return 0;
}

// Linear over the whole callback: in from 0 at the first frame, out to 0 at the last.
void StandaloneHost::ApplyFades(double* buffer, int channels, unsigned frames, bool fadeOut) const {
    for (int c = 0; c < channels; ++c) {
        double* channel = buffer + static_cast<size_t>(c) * frames;
        for (unsigned j = 0; j < frames; ++j) {
            const double gain = fadeOut ? static_cast<double>(frames - 1 - j) / frames
                                        : static_cast<double>(j) / frames;
            channel[j] *= gain;
        }
    }
}

void StandaloneHost::ProcessSubBlock(double* const* inputs, double* const* outputs) {
    mPlugin->ProcessQueuesAndAudio(mInputChannels > 0 ? const_cast<double**>(inputs) : nullptr,
                                   mOutputChannels > 0 ? const_cast<double**>(outputs) : nullptr,
                                   kSubBlockFrames);
    mFramesProcessed += kSubBlockFrames;
}

// Whole sub-blocks: the plug-in works straight in the driver's buffers.
void StandaloneHost::RunSubBlocksInPlace(double* output, double* input, unsigned frames) {
    for (unsigned i = 0; i < frames; i += kSubBlockFrames) {
        for (int c = 0; c < mInputChannels; ++c)
            mInputPointers[static_cast<size_t>(c)] =
                input ? input + static_cast<size_t>(c) * frames + i
                      : &mStagingIn[static_cast<size_t>(c) * kSubBlockFrames];
        for (int c = 0; c < mOutputChannels; ++c)
            mOutputPointers[static_cast<size_t>(c)] = output + static_cast<size_t>(c) * frames + i;
        ProcessSubBlock(mInputPointers.data(), mOutputPointers.data());
    }
}

// Any other frame count goes through one 64-frame block per channel, a block
// late, so no sub-block ever runs past the driver's buffers.
void StandaloneHost::RunSubBlocksStaged(double* output, double* input, unsigned frames) {
    for (unsigned i = 0; i < frames; ++i) {
        const size_t pos = static_cast<size_t>(mSubBlockPos);
        for (int c = 0; c < mInputChannels; ++c)
            mStagingIn[static_cast<size_t>(c) * kSubBlockFrames + pos] =
                input ? input[static_cast<size_t>(c) * frames + i] : 0.0;
        for (int c = 0; c < mOutputChannels; ++c)
            output[static_cast<size_t>(c) * frames + i] =
                mStagingOut[static_cast<size_t>(c) * kSubBlockFrames + pos];
        mSubBlockPos = (mSubBlockPos + 1) % kSubBlockFrames;
        if (mSubBlockPos != 0)
            continue;
        for (int c = 0; c < mInputChannels; ++c)
            mInputPointers[static_cast<size_t>(c)] =
                &mStagingIn[static_cast<size_t>(c) * kSubBlockFrames];
        for (int c = 0; c < mOutputChannels; ++c)
            mOutputPointers[static_cast<size_t>(c)] =
                &mStagingOut[static_cast<size_t>(c) * kSubBlockFrames];
        ProcessSubBlock(mInputPointers.data(), mOutputPointers.data());
    }
}

} // namespace host
