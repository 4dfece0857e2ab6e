#pragma once
#include "framework/widgets/ButtonListener.h"
#include "game/ui/UiElement.h"

// The container widget of the UI kit and the base of every game screen: an
// element that (with the UI kit) builds its children from its layout in
// cfg\ui.xml and listens to the buttons it made. The context is the game
// application in every use.
class UiDialog : public UiElement, public Zelk::ButtonListener {
public:
    UiDialog(UiElement* owner, void* context);
    ~UiDialog() override;

    void* GetContext() const { return mContext; }

protected:
    void* mContext;
};
