#include "rftools/graphs/graph_registration.h"

#include <memory>

#include "framework/app/registration.h"
#include "framework/databases/pickers.h"
#include "framework/output/print.h"
#include "rftools/graphs/graph_forms.h"
#include "rftools/graphs/graph_win.h"

namespace orbiscope {

namespace {

// Each Graph command and the builder it calls on its new window.
struct GraphCommand {
    int command;
    void (*build)(TGraphWin& window);
};

constexpr GraphCommand kGraphCommands[] = {
    {6310, [](TGraphWin& w) { w.NoiseTempGraph(); }},
    {6311, [](TGraphWin& w) { w.BeamPatternGraph(false); }},
    {6312, [](TGraphWin& w) { w.BeamPatternGraph(true); }},
    {6313, [](TGraphWin& w) { w.GainApertureGraph(); }},
    {6314, [](TGraphWin& w) { w.EirpApertureGraph(); }},
    {6315, [](TGraphWin& w) { w.DeclinationOffsetGraph(); }},
    {6316, [](TGraphWin& w) { w.PolarAxisCorrectionGraph(); }},
    {6317, [](TGraphWin& w) { w.ParabolaGraph(); }},
    {6318, [](TGraphWin& w) { w.AbsorptionGraph(); }},
    {6319, [](TGraphWin& w) { w.RainAttenGraph(); }},
    {6321, [](TGraphWin& w) { w.EbNoBerGraph(); }},
    {6322, [](TGraphWin& w) { w.ShannonGraph(); }},
    {6323, [](TGraphWin& w) { w.GainTemplateGraph(); }},
};

}  // namespace

void RegisterGraphWindows()
{
    RegisterWindowFactory(TGraphWin::kWindowType, [](const char* fileName) { return new TGraphWin(nullptr, fileName); });
    for (const GraphCommand& c : kGraphCommands) {
        RegisterWindowBuilder(c.command, [build = c.build](TMyWindow& window, int) {
            if (auto* graph = dynamic_cast<TGraphWin*>(&window)) build(*graph);
        });
    }
    RegisterPrintoutFactory(TGraphWin::kWindowType,
                            [](platform::Printer* printer, const char* title, TMyWindow* window, bool scale)
                                -> std::unique_ptr<TApxPrintout> {
                                auto* graph = dynamic_cast<TGraphWin*>(window);
                                if (!graph) return nullptr;
                                return std::make_unique<TGraphWinOut>(printer, title, graph, scale);
                            });
    SetGraphPickers([](TForm& form) { return databases::PickTown(&form); },
                    [](TForm& form) { return databases::PickSatellite(&form); });
}

}  // namespace orbiscope
