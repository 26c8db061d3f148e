#include "SampleStore.h"

void SampleStore::AppendSample(const Sample &sample)
{
    ++SampleCount;
    Samples.resize(std::size_t(SampleCount) + 1);
    Samples[std::size_t(SampleCount)] = sample;
}

void SampleStore::Load(std::vector<Sample> records)
{
    if (records.empty())
        records.resize(1);
    Samples = std::move(records);
    SampleCount = std::int32_t(Samples.size() - 1);
}

void ResetRecording(SampleStore &store, AcquisitionState &acquisition)
{
    store.SampleCount = 0;
    acquisition.Modified = false;
    acquisition.RestartClock = true;
    acquisition.MemoryTaken.fill(false);
}
