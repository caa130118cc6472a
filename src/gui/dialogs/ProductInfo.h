#pragma once

#include <QString>

// Where the program's maker can be reached: the homepage (homepage command
// and about box) and the address that takes the users' feedback.
QString homepageAddress();
QString feedbackAddress();
