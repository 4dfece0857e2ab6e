#pragma once
#include "launcher/Canvas.h"

#include <functional>

namespace vorsel {

// The picture of the image control `Image1`: it draws itself into a
// rectangle of the form's canvas when painted, and reports a change (a new
// animation frame) so the control repaints. Changes are reported on the
// launcher's thread.
class BusyPicture {
public:
    virtual ~BusyPicture() = default;
    virtual void Draw(const Canvas& canvas, int x, int y, int width, int height) = 0;
    void SetOnChange(std::function<void()> onChange) { mOnChange = std::move(onChange); }

protected:
    void Changed()
    {
        if (mOnChange)
            mOnChange();
    }

private:
    std::function<void()> mOnChange;
};

} // namespace vorsel
