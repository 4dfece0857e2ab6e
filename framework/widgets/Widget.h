#pragma once

namespace Zelk {

// A node of the widget tree. (Only what the application object needs so far:
// widgets are deleted through this base.)
class Widget {
public:
    virtual ~Widget() = default;
};

} // namespace Zelk
