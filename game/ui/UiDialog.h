#pragma once
#include "framework/graphics/Rect.h"
#include "framework/widgets/ButtonListener.h"
#include "game/ui/UiElement.h"

#include <cstdint>
#include <string>

namespace Zelk {
class Image;
}

// The container widget of the UI kit and the base of every game screen: an
// element with an optional background picture that builds its children from
// its layout in cfg\ui.xml by their type words, and that listens to the
// buttons it made (a button's id is its own address). The context is the
// game application in every use; it is handed to every child it builds.
class UiDialog : public UiElement, public Zelk::ButtonListener {
public:
    UiDialog(UiElement* owner, void* context);
    ~UiDialog() override;

    void Update() override;
    // The background stretched over the widget with alpha 255 x O, then the
    // element's own drawing.
    void Draw(Zelk::Graphics* g) override;
    // Takes the background picture when there is none yet.
    void AcquireResources() override;
    // Gives the background picture back.
    void ReleaseResources() override;

    // Reads the element, its background and builds its children.
    virtual void Load(const XmlNode& node, void* context);
    // A click on one of the dialog's buttons; the base passes it to the owner
    // when the owner is a dialog.
    virtual void OnButton(intptr_t id);

    // The first "element" child of node with that "name" and the type
    // "quordialog" is loaded; nothing when there is none.
    void LoadByName(const XmlNode& node, const std::string& name);
    // Gives the current picture back and stores the id and source; the new
    // picture is taken at the next AcquireResources. An empty id: none.
    void SetBackground(const std::string& textureId, const Zelk::Rect& source);
    // The listener part's click: OnButton.
    void ButtonClicked(intptr_t id);
    void OnButtonClick(intptr_t id) override { ButtonClicked(id); }

    void* GetContext() const { return mContext; }
    Zelk::Image* GetBackground() const { return mBackground; }
    const Zelk::Rect& GetBackgroundSource() const { return mBackgroundSource; }
    const std::string& GetBackgroundId() const { return mBackgroundId; }

protected:
    Zelk::Image* mBackground = nullptr;
    Zelk::Rect mBackgroundSource;
    std::string mBackgroundId;
    void* mContext;
};
