#pragma once
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <vector>

namespace plat {

// Message box flags and answers, with the values the system uses.
enum : uint32_t {
    MB_OK = 0x0,
    MB_OKCANCEL = 0x1,
    MB_RETRYCANCEL = 0x5,
    MB_YESNO = 0x4,
    MB_ICONERROR = 0x10,
    MB_ICONQUESTION = 0x20,
    MB_ICONWARNING = 0x30,
    MB_ICONINFORMATION = 0x40,
};
enum : int { IDOK = 1, IDCANCEL = 2, IDRETRY = 4, IDYES = 6, IDNO = 7 };

// Modal message boxes. Text and caption are wide (one code point per element).
class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    virtual int Show(const std::wstring& text, const std::wstring& caption, uint32_t flags) = 0;
    // The same from a crash: shown on the calling thread, never waiting for another.
    virtual int ShowFromCrash(const std::wstring& text, const std::wstring& caption, uint32_t flags)
    {
        return Show(text, caption, flags);
    }
};

// Headless message boxes: every box is logged, and answered from a script of
// answers queued by the test (IDOK, or IDYES for a yes/no box, when the script
// is empty).
class NullMessageBoxes : public MessageBoxes {
public:
    struct Shown {
        std::wstring text;
        std::wstring caption;
        uint32_t flags;
    };
    int Show(const std::wstring& text, const std::wstring& caption, uint32_t flags) override;
    void QueueAnswer(int answer);
    std::vector<Shown> Log();
    void Clear();

private:
    std::mutex mLock;
    std::deque<int> mAnswers;
    std::vector<Shown> mLog;
};

} // namespace plat
