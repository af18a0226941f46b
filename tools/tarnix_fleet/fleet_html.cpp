// The fleet report as one self-contained HTML page (docs/fleet.md shows it).
#include "tools/tarnix_fleet/fleet_html.h"

#include "tools/tarnix_fleet/drift_chart.h"
#include "tools/tarnix_fleet/html_text.h"

namespace {

const char* const kStyle =
    "body{font-family:sans-serif;margin:1.5em;color:#222}"
    "table{border-collapse:collapse}td,th{padding:3px 8px;border-bottom:1px solid #ddd;"
    "text-align:left;vertical-align:middle}th{background:#eef}"
    "tr.differs{background:#fde2e1}.finding{color:#a00;font-weight:bold}"
    ".legend{color:#555;font-size:90%}";

std::string Cell(const std::string& text) { return "<td>" + text + "</td>"; }

std::string MonitorOf(const FleetKiosk& k) {
    const std::optional<std::string> model = ModelKey(k);
    if (!model) return "(model not known)";
    return HtmlText(*model) + (k.Serial ? " <small>" + HtmlText(*k.Serial) + "</small>" : "");
}

std::string VerificationsOf(const FleetKiosk& k) {
    if (k.Verifications == 0) return "none";
    std::string text = std::to_string(k.Verifications) + ", last " +
                       HtmlText(k.LastVerificationDate.value_or("(no date)"));
    if (k.LastVerificationPassed) text += *k.LastVerificationPassed ? " passed" : " failed";
    return text;
}

std::string SiblingsOf(const FleetKiosk& k) {
    if (!k.SiblingDeviationMm) return "not compared";
    std::string text =
        HtmlNumber(k.SiblingDeviationMm, 2) + " mm of " + std::to_string(k.Siblings) + " kiosks";
    if (k.DiffersFromSiblings)
        text += "<br><span class=\"finding\">" + std::string(kDiffersText) + "</span>";
    return text;
}

std::string Row(const FleetKiosk& k, double boundMm) {
    return std::string(k.DiffersFromSiblings ? "<tr class=\"differs\">" : "<tr>") +
           Cell(HtmlText(k.Machine)) + Cell(std::to_string(k.Screen)) + Cell(MonitorOf(k)) +
           Cell(HtmlText(k.LastDate.value_or("(no date)")) +
                (k.LastAccepted ? "" : " (not accepted)")) +
           Cell(HtmlNumber(k.AccuracyMm, 2)) + Cell(HtmlNumber(k.DriftSincePreviousMm, 2)) +
           Cell(HtmlNumber(k.DriftSinceFirstMm, 2)) + Cell(DriftChartSvg(k, boundMm)) +
           Cell(VerificationsOf(k)) + Cell(SiblingsOf(k)) + "</tr>\n";
}

std::string ModelsTable(const FleetReport& report) {
    std::string out =
        "<h2>Monitor models</h2><table><tr><th>Model</th><th>Kiosks</th>"
        "<th>Compared</th><th>Differing</th></tr>\n";
    for (const FleetModel& m : report.Models)
        out += "<tr>" + Cell(HtmlText(m.Name)) + Cell(std::to_string(m.Kiosks)) +
               Cell(std::to_string(m.Compared)) + Cell(std::to_string(m.Differing)) + "</tr>\n";
    return out + "</table>\n";
}

std::string ProblemsList(const FleetReport& report) {
    if (report.Problems.empty()) return "";
    std::string out = "<h2>Exports not read</h2><ul>";
    for (const std::string& problem : report.Problems) out += "<li>" + HtmlText(problem) + "</li>";
    return out + "</ul>\n";
}

}  // namespace

std::string FleetHtml(const FleetReport& report) {
    size_t differing = 0;
    for (const FleetKiosk& k : report.Kiosks) differing += k.DiffersFromSiblings ? 1 : 0;
    const std::string bound = HtmlNumber(report.BoundMm, 1);
    std::string page =
        "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>Tarnix fleet report</title>"
        "<style>" +
        std::string(kStyle) + "</style></head><body>\n<h1>Tarnix fleet report</h1>\n<p>" +
        std::to_string(report.Kiosks.size()) + " kiosks, " + std::to_string(differing) +
        " differing from their siblings by more than " + bound +
        " mm.</p>\n"
        "<p class=\"legend\">Accuracy: the expected error of the calibration in use. Drift: the "
        "largest move of the mapping since the previous and the first calibration. The chart "
        "shows the move since the first calibration at each calibration; the dashed line is " +
        bound +
        " mm. Siblings: the largest distance on the glass from the typical mapping of the "
        "kiosks of the same monitor model.</p>\n<table><tr><th>Machine</th><th>Screen</th>"
        "<th>Monitor</th><th>Last calibration</th><th>Accuracy (mm)</th><th>Drift since last "
        "(mm)</th><th>Drift since first (mm)</th><th>Drift over time</th><th>Verifications</th>"
        "<th>Siblings</th></tr>\n";
    for (const FleetKiosk& k : report.Kiosks) page += Row(k, report.BoundMm);
    return page + "</table>\n" + ModelsTable(report) + ProblemsList(report) + "</body></html>\n";
}
