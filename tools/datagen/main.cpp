// SPDX-License-Identifier: GPL-3.0-or-later
// Writes the five practice tables and the list of decomposition pictures from the packaged
// Wubi and pinyin dictionaries, a word-frequency list, the standard character list and the
// project's own root chart.

#include "tools/common/WriteFile.h"
#include "tools/datagen/PracticeData.h"

#include <cstdio>
#include <filesystem>
#include <iostream>
#include <map>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

const char* const usage
    = "usage: datagen --wubi FILE --pinyin FILE --roots FILE --overrides FILE --text-frequency FILE\n"
      "               --standard-list FILE --out DIR --picture-list FILE\n";

}

int main(int argc, char** argv)
{
    std::map<std::string, std::string> options;
    for (int i = 1; i + 1 < argc; i += 2)
        options[argv[i]] = argv[i + 1];
    for (const char* name : { "--wubi", "--pinyin", "--roots", "--overrides", "--text-frequency", "--standard-list",
             "--out", "--picture-list" }) {
        if (argc % 2 == 0 || !options.count(name)) {
            std::cerr << usage;
            return 2;
        }
    }

    try {
        using namespace datagen;
        const PracticeData data
            = BuildPracticeData({ ReadWubiSource(options["--wubi"]), ReadPinyinSource(options["--pinyin"]),
                ReadRootChart(options["--roots"]), ReadPinyinOverrides(options["--overrides"]),
                ReadTextFrequency(options["--text-frequency"]), ReadStandardList(options["--standard-list"]) });

        // Everything is made before anything is written: a source that fails leaves the old tables.
        const fs::path out = options["--out"];
        const std::vector<std::pair<fs::path, std::string>> files {
            { out / "wb1.dat", PlainWb1(data) },
            { out / "wb2.dat", PlainWb2(data) },
            { out / "wb.dat", EncipherContent(PlainWb(data)) },
            { out / "wbzg.dat", EncipherContent(PlainWbzg(data)) },
            { out / "py.dat", EncipherContent(PlainPy(data)) },
            { options["--picture-list"], PictureList(data) },
        };
        for (const auto& [file, bytes] : files)
            WriteFileAtomically(file, bytes);

        std::cout << "datagen: " << data.wb.size() << " characters, " << data.wb1.size() << " level-1 and "
                  << data.wb2.size() << " level-2 short codes, " << data.wbzg.size() << " roots, " << data.py.size()
                  << " readings\n";
        return 0;
    } catch (const std::exception& e) {
        std::cerr << "datagen: " << e.what() << "\n";
        return 1;
    }
}
