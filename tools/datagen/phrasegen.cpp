// SPDX-License-Identifier: GPL-3.0-or-later
// Writes the phrase table and the character code table from rime's wubi86 dictionary, with
// every phrase code checked against the phrase rules and the reviewed list of exceptions.

#include "tools/common/WriteFile.h"
#include "tools/datagen/PhraseData.h"

#include <filesystem>
#include <iostream>
#include <map>

namespace fs = std::filesystem;

int main(int argc, char** argv)
{
    std::map<std::string, std::string> options;
    for (int i = 1; i + 1 < argc; i += 2)
        options[argv[i]] = argv[i + 1];
    for (const char* name : { "--wubi", "--reviewed", "--out" }) {
        if (argc % 2 == 0 || !options.count(name)) {
            std::cerr << "usage: phrasegen --wubi FILE --reviewed FILE --out DIR\n";
            return 2;
        }
    }
    try {
        using namespace datagen;
        const PhraseData data
            = BuildPhraseData(ReadRimeRows(options["--wubi"]), ReadReviewedDisagreements(options["--reviewed"]));
        // Both tables are made before either is written.
        const std::string phrases = PlainPhraseTable(data);
        const std::string characters = PlainCharacterCodeTable(data);
        const fs::path out = options["--out"];
        WriteFileAtomically(out / PhraseFileName, phrases);
        WriteFileAtomically(out / CharacterCodeFileName, characters);
        std::cout << "phrasegen: " << data.phrases.size() << " phrases, " << data.characters.size()
                  << " character codes; left out as reviewed:";
        for (const PhraseDisagreement& d : data.disagreements)
            std::cout << " " << d.phrase;
        std::cout << "\n";
        return 0;
    } catch (const std::exception& e) {
        std::cerr << "phrasegen: " << e.what() << "\n";
        return 1;
    }
}
