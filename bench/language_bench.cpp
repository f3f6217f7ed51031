// The language dictionary: loading the shipped file, and switching a built
// instance between two full languages.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "frame/ModelInstance.h"
#include "model/elements/clsDataModel.h"
#include "platform/app/Path.h"
#include "platform/rt/DTMContext.h"
#include "platform/rt/DtmPathInfo.h"
#include "platform/rt/LanguageDictionary.h"

namespace {

namespace fs = std::filesystem;

constexpr const char* kDictionary = "DTMDictionary";

void BM_LoadDictionary(benchmark::State& state) {
    auto ctx = platform::rt::DTMContext::Create();
    for (auto _ : state) {
        auto dictionary = std::make_shared<platform::rt::LanguageDictionary>();
        if (!dictionary->LoadDictionary(ctx, kDictionary)) state.SkipWithError("dictionary not loaded");
        benchmark::DoNotOptimize(dictionary->SelectedLcid());
    }
}
BENCHMARK(BM_LoadDictionary)->Unit(benchmark::kMillisecond);

// A folder holding the shipped dictionary with its English texts a second
// time as language 1031, so that both languages are complete.
class TwoLanguageFolder {
public:
    TwoLanguageFolder() : folder_(fs::temp_directory_path() / ("dtm_language_bench_" + std::to_string(::getpid()))) {
        std::ifstream in(fs::path(platform::app::Path()) / "XMLData" / (std::string(kDictionary) + ".xml"));
        std::stringstream text;
        text << in.rdbuf();
        std::string dictionary = text.str();
        const size_t begin = dictionary.find("<Language ");
        const size_t end = dictionary.find("</Language>");
        std::string second = dictionary.substr(begin, end + 11 - begin);
        second.replace(0, second.find('>') + 1, "<Language lcid=\"1031\" name=\"Deutsch\">");
        dictionary.insert(dictionary.rfind("</Dictionary>"), second + "\n");
        fs::create_directories(folder_);
        std::ofstream(folder_ / (std::string(kDictionary) + ".xml")) << dictionary;
    }
    ~TwoLanguageFolder() {
        std::error_code ignored;
        fs::remove_all(folder_, ignored);
    }
    std::string Path() const { return folder_.string() + "/"; }

private:
    fs::path folder_;
};

void BM_SetLanguage(benchmark::State& state) {
    const TwoLanguageFolder folder;
    auto instance = dtm::frame::NewModelInstance();
    instance.ctx->PathInfo()->XmlDataPath(folder.Path());
    instance.ctx->Dictionary()->LoadDictionary(instance.ctx, kDictionary);
    int32_t lcid = 1033;
    for (auto _ : state) {
        lcid = lcid == 1033 ? 1031 : 1033;
        instance.model->SetLanguage(instance.ctx, lcid);
    }
    if (instance.ctx->Dictionary()->SelectedLcid() != lcid) state.SkipWithError("language not switched");
}
BENCHMARK(BM_SetLanguage)->Unit(benchmark::kMillisecond);

}  // namespace
