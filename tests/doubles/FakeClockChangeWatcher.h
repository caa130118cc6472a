#pragma once

#include "platform/ClockChangeWatcher.h"

// Reports a set clock when the test says so.
class FakeClockChangeWatcher : public ClockChangeWatcher
{
public:
    void reportChange() { emit clockChanged(); }
};
