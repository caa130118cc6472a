#pragma once

#include "platform/SleepWatcher.h"

// Sleeps and wakes when the test says so.
class FakeSleepWatcher : public SleepWatcher
{
public:
    void sleep() { emit sleeping(); }
    void wake() { emit woken(); }
};
