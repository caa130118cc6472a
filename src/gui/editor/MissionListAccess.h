#pragma once

#include <functional>

class MissionModel;

// What the mission editor and the list commands need of the main window:
// its mission list, the selected row (-1 for none) and starting the run.
struct MissionListAccess
{
    MissionModel *missions = nullptr;
    std::function<int()> selectedIndex;
    std::function<void()> startList;
};
