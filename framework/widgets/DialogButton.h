#pragma once
#include "framework/widgets/ButtonWidget.h"

namespace Zelk {

// A dialog's button, drawn as an image box (corners kept, edges and middle
// tiled) from a component image, whole or one cell per state. Without a
// component image it looks like a plain button.
class DialogButton : public ButtonWidget {
public:
    DialogButton(Image* componentImage, int id, ButtonListener* listener);

    void Draw(Graphics* g) override;

    Image* mComponentImage;
    int32_t mTranslateX = 1; // how far the pressed look moves
    int32_t mTranslateY = 1;
    int32_t mTextOffsetX = 0;
    int32_t mTextOffsetY = 0;
};

} // namespace Zelk
