#pragma once

#include <functional>

class MissionList;

// What the list commands need of the main window: its mission list and the
// selected row (-1 for none).
struct MissionListAccess
{
    MissionList *missions = nullptr;
    std::function<int()> selectedIndex;
};
