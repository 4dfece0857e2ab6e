#include "synth/SoundEffects.h"

#include <cmath>

namespace contentgen {

namespace {

Pcm ButtonHover()
{
    Pcm p(1, 0.025);
    AddNote(p, Note{0, 0.015, 1800, 0, Wave::Sine, 0.35f, 0.002, 0.01, 0.0, 0.008});
    return p;
}

Pcm ButtonClick()
{
    Pcm p(1, 0.04);
    AddNote(p, Note{0, 0.025, 900, 600, Wave::Square, 0.35f, 0.001, 0.01, 0.0, 0.012});
    AddNoise(p, NoiseBurst{0, 0.012, 4000, 0, 1.0, 0.5f, 0.002, 0.01, 0, 0, 11});
    return p;
}

Pcm BriefingShow()
{
    Pcm p(1, 0.35);
    AddNoise(p, NoiseBurst{0, 0.35, 400, 3500, 3.0, 0.5f, 0.15, 0.15, 0, 0, 12});
    return p;
}

Pcm GoodDebriefing()
{
    Pcm p(1, 1.6);
    const int notes[] = {60, 64, 67, 72};
    for (int i = 0; i < 4; ++i)
        AddNote(p, Note{0.12 * i, 0.2, NoteHz(notes[i]), 0, Wave::Triangle, 0.3f, 0.005, 0.15, 0.4, 0.08});
    for (int n : notes)
        AddNote(p, Note{0.55, 0.8, NoteHz(n), 0, Wave::Triangle, 0.16f, 0.01, 0.4, 0.5, 0.2});
    return p;
}

Pcm BadDebriefing()
{
    Pcm p(1, 1.4);
    const int notes[] = {69, 67, 65, 64, 60};
    for (int i = 0; i < 5; ++i)
        AddNote(p, Note{0.22 * i, i == 4 ? 0.3 : 0.18, NoteHz(notes[i] - 12), 0, Wave::Saw, 0.3f, 0.01, 0.2, 0.5,
                        0.1, 0, 5.0, 0.006});
    return p;
}

Pcm Click()
{
    Pcm p(1, 0.03);
    AddBell(p, 0, 1300, 0.5f, 0.005);
    AddNoise(p, NoiseBurst{0, 0.008, 2500, 0, 2.0, 0.4f, 0.002, 0.006, 0, 0, 13});
    return p;
}

Pcm Fanfare(double seconds, const std::vector<int>& notes, float amp)
{
    Pcm p(1, seconds);
    double step = seconds / 6.0;
    for (size_t i = 0; i < notes.size(); ++i)
        AddNote(p, Note{step * double(i % 3), seconds - step * double(i % 3) - 0.15, NoteHz(notes[i]), 0,
                        Wave::Saw, amp, 0.01, 0.25, 0.55, 0.12});
    return p;
}

Pcm Goal()
{
    return Fanfare(0.9, {60, 64, 67}, 0.22f);
}

Pcm Expert()
{
    return Fanfare(1.3, {60, 64, 67, 72, 76, 79}, 0.14f);
}

Pcm WakeUp()
{
    Pcm p(1, 0.6);
    for (int i = 0; i < 2; ++i)
        AddNote(p, Note{0.3 * i, 0.18, 2000, 0, Wave::Square, 0.3f, 0.002, 0.05, 0.8, 0.02});
    return p;
}

Pcm TakeMoney()
{
    Pcm p(1, 0.5);
    AddNoise(p, NoiseBurst{0, 0.2, 3000, 0, 1.5, 0.25f, 0.002, 0.05, 40, 0, 14});
    AddBell(p, 0.0, 2637, 0.35f, 0.06);
    AddBell(p, 0.12, 3136, 0.35f, 0.07);
    return p;
}

Pcm ClientSpawn()
{
    Pcm p(1, 1.2);
    AddBell(p, 0.0, NoteHz(76), 0.45f, 0.25);
    AddBell(p, 0.35, NoteHz(72), 0.45f, 0.3);
    return p;
}

Pcm ClientReady()
{
    Pcm p(1, 0.6);
    AddBell(p, 0.0, NoteHz(84), 0.4f, 0.12);
    return p;
}

Pcm ClientPositive()
{
    Pcm p(1, 0.45);
    const int notes[] = {72, 76, 79};
    for (int i = 0; i < 3; ++i)
        AddNote(p, Note{0.1 * i, 0.09, NoteHz(notes[i]), 0, Wave::Triangle, 0.35f, 0.004, 0.08, 0.5, 0.04});
    return p;
}

Pcm ClientNegative()
{
    Pcm p(1, 0.5);
    AddNote(p, Note{0, 0.42, 220, 110, Wave::Saw, 0.35f, 0.01, 0.3, 0.7, 0.06, 0, 18.0, 0.03});
    return p;
}

Pcm ClientScandal()
{
    Pcm p(1, 0.8);
    for (int i = 0; i < 4; ++i)
        AddNote(p, Note{0.18 * i, 0.1, i % 2 ? 185.0 : 196.0, 0, Wave::Square, 0.3f, 0.002, 0.05, 0.7, 0.03});
    AddNoise(p, NoiseBurst{0, 0.75, 1500, 0, 0.8, 0.2f, 0.002, 0.05, 11, 0, 15});
    return p;
}

Pcm CoffeeSip()
{
    Pcm p(1, 0.5);
    AddNoise(p, NoiseBurst{0, 0.45, 500, 1800, 4.0, 0.45f, 0.1, 0.15, 0, 0, 16});
    return p;
}

// Many short crackles at seeded moments.
Pcm Crackles(double seconds, int count, double hz, float amp, uint32_t seed)
{
    Pcm p(1, seconds);
    Noise when(seed);
    for (int i = 0; i < count; ++i) {
        double start = (when.Next() * 0.5 + 0.5) * (seconds - 0.03);
        double length = 0.012 + 0.01 * (when.Next() * 0.5 + 0.5);
        double centre = hz * (1.0 + 0.3 * when.Next());
        AddNoise(p, NoiseBurst{start, length, centre, 0, 2.0, amp, 0.002, 0.008, 0, 0, seed + uint32_t(i) * 7919u});
    }
    return p;
}

Pcm Applause()
{
    return Crackles(1.2, 60, 2200, 0.35f, 17);
}

Pcm CoffeeReady()
{
    Pcm p(1, 1.0);
    AddNoise(p, NoiseBurst{0, 1.0, 300, 0, 6.0, 0.5f, 0.05, 0.2, 9, 0, 18});
    return p;
}

Pcm ConditionerBroke()
{
    Pcm p(1, 0.9);
    AddBell(p, 0, 180, 0.5f, 0.08);
    AddBell(p, 0.06, 140, 0.4f, 0.08);
    AddNoise(p, NoiseBurst{0.1, 0.8, 5000, 0, 0.7, 0.25f, 0.05, 0.4, 0, 0, 19});
    return p;
}

Pcm MakeTrash()
{
    return Crackles(0.6, 25, 1200, 0.4f, 20);
}

Pcm GiveMoney()
{
    Pcm p(1, 0.6);
    for (int i = 0; i < 3; ++i)
        AddBell(p, 0.09 * i, 2800 + 300 * i, 0.3f, 0.05);
    return p;
}

Pcm TakePaper()
{
    return Crackles(0.35, 18, 3500, 0.3f, 21);
}

Pcm WorkerFinish()
{
    Pcm p(1, 0.8);
    AddBell(p, 0, NoteHz(88), 0.35f, 0.1);
    AddBell(p, 0.2, NoteHz(88), 0.35f, 0.1);
    return p;
}

// Syllable-shaped band noise at voice pitch; the tail wraps around so the
// loop has no seam.
Pcm Conference()
{
    Pcm p(1, 2.0);
    Noise pick(22);
    double t = 0.0;
    uint32_t seed = 23;
    while (t < 2.0) {
        double length = 0.12 + 0.08 * (pick.Next() * 0.5 + 0.5);
        double hz = 500 + 300 * (pick.Next() * 0.5 + 0.5);
        AddNoise(p, NoiseBurst{t, length, hz, 0, 5.0, 0.35f, 0.03, 0.05, 0, 0, seed++}, true);
        t += length + 0.03;
    }
    return p;
}

Pcm Steps()
{
    Pcm p(1, 0.7);
    for (int i = 0; i < 2; ++i) {
        AddNoise(p, NoiseBurst{0.35 * i, 0.06, 250, 0, 2.5, 0.7f, 0.002, 0.05, 0, 0, uint32_t(24 + i)}, true);
    }
    return p;
}

Pcm PhoneRing()
{
    Pcm p(1, 2.0);
    Note a{0, 0.8, 440, 0, Wave::Sine, 0.25f, 0.005, 1.0, 1.0, 0.01};
    Note b = a;
    b.hz = 480;
    AddNote(p, a);
    AddNote(p, b);
    // 20 Hz gating of the ring.
    for (long i = 0; i < std::lround(0.81 * kSampleRate); ++i)
        if (std::sin(2.0 * M_PI * 20.0 * double(i) / kSampleRate) < 0)
            p.samples[size_t(i)] *= 0.15f;
    return p;
}

Pcm Snore()
{
    Pcm p(1, 1.2);
    AddNote(p, Note{0, 1.0, 70, 60, Wave::Saw, 0.35f, 0.3, 1.0, 1.0, 0.2, 0, 25.0, 0.05});
    AddNoise(p, NoiseBurst{0, 1.2, 200, 0, 2.0, 0.25f, 0.4, 0.5, 0, 0, 26});
    return p;
}

} // namespace

const std::vector<EffectRecipe>& EffectRecipes()
{
    static const std::vector<EffectRecipe> kRecipes = {
        {"button_hover", "ui", false, "button_hover.wav", ButtonHover},
        {"button_click", "ui", false, "button_click.wav", ButtonClick},
        {"briefing_show", "ui", false, "briefing_show.wav", BriefingShow},
        {"good_debriefing_show", "ui", false, "good_debriefing.ogg", GoodDebriefing},
        {"bad_debriefing_show", "ui", false, "bad_debriefing.wav", BadDebriefing},
        {"click", "game", false, "click.wav", Click},
        {"goal", "game", false, "goal.wav", Goal},
        {"expert", "game", false, "expert.ogg", Expert},
        {"wake_up", "game", false, "wake_up.wav", WakeUp},
        {"boss_take_money", "game", false, "take_money.wav", TakeMoney},
        {"client_spawn", "game", false, "client_spawn.ogg", ClientSpawn},
        {"client_ready", "game", false, "client_ready.wav", ClientReady},
        {"client_positiv", "game", false, "client_positiv.wav", ClientPositive},
        {"client_negativ", "game", false, "client_negativ.wav", ClientNegative},
        {"client_scandal", "game", false, "client_scandal.wav", ClientScandal},
        {"hp_up_coffee", "game", false, "hp_up_coffee.wav", CoffeeSip},
        {"hp_up_presentation", "game", false, "hp_up_presentation.wav", Applause},
        {"coffeemashine", "game", false, "coffee_ready.wav", CoffeeReady},
        {"conditioner_broke", "game", false, "conditioner_broke.wav", ConditionerBroke},
        {"make_trash", "game", false, "make_trash.wav", MakeTrash},
        {"boss_give_money", "game", false, "give_money.wav", GiveMoney},
        {"take_paper", "game", false, "take_paper.wav", TakePaper},
        {"worker_finish", "game", false, "worker_finish.wav", WorkerFinish},
        {"boss_conference", "game", true, "conference.wav", Conference},
        {"boss_steps", "game", true, "steps.wav", Steps},
        {"phone_ring", "game", true, "phone_ring.ogg", PhoneRing},
        {"worker_snore", "game", false, "snore.wav", Snore},
    };
    return kRecipes;
}

} // namespace contentgen
