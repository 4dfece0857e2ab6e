#pragma once

// One player profile of pref.dat: figure, name, career progress, results and
// play time. Filled in by the profiles.
struct ProfileRecord {};
