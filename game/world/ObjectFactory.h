#pragma once
// The office's object kinds by class word: a static table of 17 rows
// searched in order, case-sensitively.
#include <string>

class SceneObject;

class ObjectFactory {
public:
    using Creator = SceneObject* (*)();
    struct Row {
        const char* classWord;
        Creator create;
    };

    // A new object of the kind (in the installed office world), or null for
    // a word no row has.
    static SceneObject* Create(const std::string& classWord);
    static const Row* Rows(int& count);
};
