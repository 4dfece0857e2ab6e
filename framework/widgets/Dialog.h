#pragma once
#include "framework/widgets/Widget.h"

namespace Zelk {

// A framework dialog. (Only what the application's dialog registry needs so far.)
class Dialog : public Widget {
public:
    explicit Dialog(int id = 0, bool isModal = false) : mId(id), mIsModal(isModal) {}
    int mId;
    bool mIsModal;
};

} // namespace Zelk
