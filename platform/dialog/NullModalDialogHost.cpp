#include "platform/dialog/NullModalDialogHost.h"

namespace plat {

int NullModalDialogHost::Run(WindowHandle owner, const DialogTemplate& dialog, const DialogProc& proc)
{
    if (failShow)
        return -1;
    DialogState state;
    proc(state, DialogEvent::Init, 0, 0);

    Shown shown;
    shown.dialog = dialog;
    for (const DialogControl& c : dialog.controls) {
        if (c.kind == DialogControl::Kind::ListBox)
            shown.entries[c.id] = state.Entries(c.id);
        else if (c.kind == DialogControl::Kind::Edit) {
            shown.texts[c.id] = state.GetText(c.id, std::string::npos);
            shown.textSelected[c.id] = state.TextSelected(c.id);
        }
    }

    while (!state.Ended()) {
        Action a;
        {
            std::lock_guard<std::mutex> g(mLock);
            if (mScript.empty()) {
                a = Close();
            } else {
                a = mScript.front();
                mScript.pop_front();
            }
        }
        switch (a.kind) {
        case Action::Kind::Select:
            state.Select(a.control, a.index);
            break;
        case Action::Kind::DoubleClick:
            proc(state, DialogEvent::Command, a.control, LBN_DBLCLK);
            break;
        case Action::Kind::Type:
            state.Type(a.control, a.text);
            break;
        case Action::Kind::Press:
            proc(state, DialogEvent::Command, a.control, 0);
            break;
        case Action::Kind::Close:
            proc(state, DialogEvent::Close, 0, 0);
            // A procedure that ignores the close would leave nobody to end it.
            if (!state.Ended() && [&] { std::lock_guard<std::mutex> g(mLock); return mScript.empty(); }())
                state.End(0);
            break;
        }
    }
    shown.result = state.Result();
    std::lock_guard<std::mutex> g(mLock);
    mLog.push_back(shown);
    return state.Result();
}

void NullModalDialogHost::Queue(const Action& action)
{
    std::lock_guard<std::mutex> g(mLock);
    mScript.push_back(action);
}

std::vector<NullModalDialogHost::Shown> NullModalDialogHost::Log()
{
    std::lock_guard<std::mutex> g(mLock);
    return mLog;
}

void NullModalDialogHost::Clear()
{
    std::lock_guard<std::mutex> g(mLock);
    mLog.clear();
    mScript.clear();
}

} // namespace plat
