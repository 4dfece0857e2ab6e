#pragma once
// The drawing order of the office's parts, built from their base lines.
// Filled in with the drawing order; until then it keeps nothing.
class ZOrderManager {
public:
    // Forgets every registered part.
    void Reset();
};
