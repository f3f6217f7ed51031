// A parameter site of 100 rows bound to the model of a new instance: binding
// the rows, and updating every row after a full set of element changes (one
// change notice per element, each reaching only its own link).
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "frame/ModelInstance.h"
#include "pages/framework/clsParamLink.h"
#include "platform/ctl/ctlParamSite.h"
#include "platform/ctl/ctlParameter.h"
#include "platform/rt/Parameters.h"
#include "platform/ui/UserControl.h"

namespace {

constexpr size_t kRows = 100;

// The first 100 elements that a row shows as a value.
std::vector<std::string> RowPaths(const platform::rt::Parameters& params) {
    std::vector<std::string> paths;
    for (const auto& el : params) {
        const int32_t type = el->ValueType();
        if (type < 2 || el->Name().rfind("~/", 0) == 0) continue;
        paths.push_back(el->Name());
        if (paths.size() == kRows) break;
    }
    return paths;
}

class Form : public platform::ui::UserControl {
public:
    explicit Form(std::vector<std::string> tags) : tags_(std::move(tags)) {}
    platform::P<platform::ctl::ctlParamSite> site;

protected:
    void BuildForm() override {
        int16_t i = 0;
        for (const auto& tag : tags_) Place<platform::ctl::ctlParameter>("ctlParameter", i++)->parameterTag(tag);
        site = Place<platform::ctl::ctlParamSite>("ctlParamSite1");
    }

private:
    std::vector<std::string> tags_;
};

struct BoundForm {
    dtm::frame::ModelInstance instance = dtm::frame::NewModelInstance();
    std::vector<std::string> paths = RowPaths(instance.Parameters());
    std::shared_ptr<Form> form = std::make_shared<Form>(paths);
    std::string id = "bench";

    BoundForm() {
        form->Create();
        form->site->InitSite(instance.ctx, id, std::make_shared<dtm::clsParamLink>());
        int32_t lcid = 1033;
        form->site->SetSiteLanguage(lcid);
        form->site->SiteParameterSetChanged();
    }
    ~BoundForm() { form->site->ExitSite(); }
};

void BM_BindSiteOf100Rows(benchmark::State& state) {
    BoundForm bound;
    auto link = std::make_shared<dtm::clsParamLink>();
    for (auto _ : state) {
        bound.form->site->InitSite(bound.instance.ctx, bound.id, link);
        benchmark::DoNotOptimize(bound.form->site->Links().size());
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(kRows));
}
BENCHMARK(BM_BindSiteOf100Rows)->Unit(benchmark::kMicrosecond);

void BM_UpdateAll100RowsAfterFullChange(benchmark::State& state) {
    BoundForm bound;
    if (bound.form->site->Links().size() != kRows) state.SkipWithError("the model gave fewer than 100 rows");
    std::vector<platform::rt::El> changed;
    for (const auto& path : bound.paths) changed.push_back(bound.instance.Parameters().Item(path));
    for (auto _ : state) {
        for (const auto& el : changed) bound.form->site->SiteParameterChanged(el);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(changed.size()));
}
BENCHMARK(BM_UpdateAll100RowsAfterFullChange)->Unit(benchmark::kMicrosecond);

}  // namespace
