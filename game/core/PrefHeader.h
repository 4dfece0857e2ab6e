#pragma once

// The header of pref.dat held in memory: volumes, flags and the current
// profile's slot. Filled in by the profiles.
struct PrefHeader {};
