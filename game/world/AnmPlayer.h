#pragma once
// Plays the animations of one part's file, one at a time, through an effect
// with one track (id 1) that turns time into a frame index: control 0 maps
// the track's progress to the frame, control 1 marks the end of an animation
// played once, control 2 stops the animation just after a chosen frame.
// Parameters of the effect: 1 the frame index, 2 the current record's
// sequence (null without one), 3 the done flag. Main thread only; every
// track call takes the effect and track locks.
#include "game/world/AnmFile.h"

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>

class AnimTrack;
class Effect;
class ObjectPart;

class AnmPlayer {
public:
    enum State : int32_t { STATE_NONE = 0, STATE_PLAYING = 1, STATE_PAUSED = 2, STATE_ENDED = 3 };

    explicit AnmPlayer(ObjectPart* owner);
    ~AnmPlayer();
    AnmPlayer(const AnmPlayer&) = delete;
    AnmPlayer& operator=(const AnmPlayer&) = delete;

    // Deletes the effect and the file.
    void Unload();
    // Loads anm\<name>.anm. A file that cannot be opened or is refused
    // leaves the player as it was (false). Otherwise the new file replaces the
    // old, the frame goes to 0, a stop is cancelled and the current animation
    // (when the new file has it) plays again from the start.
    bool Load(const std::string& name);

    // The first record, in file order, whose name contains the text; -1
    // when none.
    int FindAnimation(const std::string& text);
    AnmRecord* GetAnimation(const std::string& text);

    // Starts record index (nothing for an index outside the file): from 0, or
    // with keepTime at the track's position when that lies within the new
    // length.
    void Play(int index, bool keepTime);
    // Ends the animation being replaced (unless keepTime), plays the first
    // record whose name contains the text and sets the state to playing;
    // false without a file, for an empty text or when no record matches.
    bool PlayByName(const std::string& text, bool keepTime);
    // Arms a stop just after frame n of the current animation (0 <= n <=
    // frame count): the player pauses there and reports an end once.
    void StopAtFrame(int n);
    void CancelStopAtFrame();
    void Rewind(int index);
    // While playing or paused: the end is reported to the owner's object,
    // then the animation is rewound and its track stopped.
    void End();
    bool Pause();
    bool Resume();
    // One game update while playing: the track advances by gFrameDelta;
    // ended becomes true when the animation reached its end or its stop
    // frame (and is left alone otherwise).
    void Update(bool& ended);

    // While playing or paused: the current record, and its frame at the
    // current index (kept within the record's frames). Null / false otherwise.
    AnmRecord* GetCurrentAnimation();
    bool GetCurrentFrame(AnmFrame& frame) const;
    // Frame count / fps of the current animation; 0 without one or at fps 0.
    float GetDuration() const;

    bool HasFile() const { return mFile != nullptr; }
    AnmFile* GetFile() const { return mFile.get(); }
    int32_t GetState() const { return mState; }
    int GetCurrentIndex() const { return mCurrent; }
    int32_t GetFrameIndex() const { return mFrame; }
    int32_t GetStopFrame() const { return mStopFrame; }
    AnimTrack* GetTrack() const;

private:
    void ReportEnd();

    std::unique_ptr<AnmFile> mFile;
    int mCurrent = -1;
    int32_t mState = STATE_NONE;
    int32_t mFrame = 0;
    Effect* mEffect = nullptr;
    ObjectPart* mOwner;
    bool mDone = false;
    int32_t mStopFrame = -1;
    // Request texts already looked up, and their record.
    std::unordered_map<std::string, int> mFound;
};
