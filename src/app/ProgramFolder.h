#pragma once

#include <QString>

// The folder where config.ini, everyday.mis and db.mdb live, with its
// trailing separator: the folder of the executable, or the per-user data
// folder when the program is installed (its desktop entry lies in the
// share/applications folder beside its bin folder) or the executable's
// folder cannot be written.
QString programFolder();
