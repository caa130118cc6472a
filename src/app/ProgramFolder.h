#pragma once

#include <QString>

// The folder where config.ini, everyday.mis and db.mdb live, with its
// trailing separator: the folder of the executable, or the per-user data
// folder when the executable's folder cannot be written.
QString programFolder();
