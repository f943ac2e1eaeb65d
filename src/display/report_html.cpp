// The commissioning report as one HTML page that needs no other file: the style sheet
// and the drawings (SVG) are inline, so the page can be mailed or archived as it is.
#include "display/commissioning_report.h"

#include <cstdio>

namespace telmora {

namespace {

// Text made safe for HTML: the markup characters escaped, control characters and bytes
// that are not UTF-8 replaced, so a damaged description shows as damaged.
std::string Escape(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        std::size_t length = c < 0x80         ? 1
                             : (c >> 5) == 6  ? 2
                             : (c >> 4) == 14 ? 3
                             : (c >> 3) == 30 ? 4
                                              : 0;
        bool valid = length != 0 && i + length <= text.size();
        for (std::size_t k = 1; valid && k < length; ++k)
            valid = (static_cast<unsigned char>(text[i + k]) >> 6) == 2;
        if (!valid) {
            out += "\xEF\xBF\xBD";
            ++i;
            continue;
        }
        if (length > 1) {
            out.append(text.substr(i, length));
        } else if (c == '&') {
            out += "&amp;";
        } else if (c == '<') {
            out += "&lt;";
        } else if (c == '>') {
            out += "&gt;";
        } else if (c == '"') {
            out += "&quot;";
        } else if (c < 0x20 || c == 0x7F) {
            out += "\xEF\xBF\xBD";
        } else {
            out += static_cast<char>(c);
        }
        i += length;
    }
    return out;
}

std::string Number(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", value);
    return text;
}

std::string Svg(const Figure& figure) {
    std::string svg = "<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 " +
                      Number(figure.Width) + " " + Number(figure.Height) + "\" width=\"" +
                      Number(figure.Width * 1.5) + "\" font-size=\"" + Number(kFigureFontSize) +
                      "\" font-family=\"sans-serif\">\n";
    for (const FigureRect& r : figure.Rects)
        svg += "<rect x=\"" + Number(r.X) + "\" y=\"" + Number(r.Y) + "\" width=\"" +
               Number(r.Width) + "\" height=\"" + Number(r.Height) + "\" fill=\"" + r.Fill +
               "\"/>\n";
    for (const FigureLine& l : figure.Lines) {
        svg += "<polyline fill=\"none\" stroke=\"" + l.Stroke + "\" stroke-width=\"" +
               Number(l.Width) + "\" points=\"";
        for (const FigurePoint& p : l.Points)
            svg += Number(p.X) + "," + Number(p.Y) + " ";
        svg += "\"/>\n";
    }
    for (const FigureText& t : figure.Texts) {
        const char* anchor = t.Anchor == TextAnchor::Middle ? "middle"
                             : t.Anchor == TextAnchor::End  ? "end"
                                                            : "start";
        svg += "<text x=\"" + Number(t.X) + "\" y=\"" + Number(t.Y) + "\" text-anchor=\"" + anchor +
               "\">" + Escape(t.Text) + "</text>\n";
    }
    return svg + "</svg>\n";
}

std::string Table(const std::vector<ReportLine>& lines, bool withUnits) {
    std::string html = "<table>\n";
    for (const ReportLine& line : lines) {
        html += "<tr><th>" + Escape(line.Caption) + "</th><td>" + Escape(line.Value) + "</td>";
        if (withUnits)
            html += "<td>" + Escape(line.Unit) + "</td><td class=\"meaning\">" +
                    Escape(line.Meaning) + "</td>";
        html += "</tr>\n";
    }
    return html + "</table>\n";
}

constexpr const char* kStyle = R"(body { font-family: sans-serif; font-size: 10pt; margin: 2em; }
h1 { font-size: 16pt; } h2 { font-size: 12pt; margin-top: 1.5em; }
table { border-collapse: collapse; }
th, td { text-align: left; padding: 1px 12px 1px 0; vertical-align: top; }
th { font-weight: normal; color: #444; }
td.meaning { color: #555; }
)";

} // namespace

std::string CommissioningReportHtml(const CommissioningReport& report) {
    std::string html = "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
                       "<title>" +
                       Escape(report.Title) + "</title>\n<style>\n" + kStyle +
                       "</style>\n</head>\n<body>\n<h1>" + Escape(report.Title) + "</h1>\n";
    html += Table(report.Heading, false);
    html += "<h2>Parameters</h2>\n" + Table(report.Parameters, true);
    html += "<h2>Outputs</h2>\n" + Svg(report.Outputs);
    html += "<h2>Statistics</h2>\n";
    html += report.Statistics.empty() ? "<p>" + std::string(kNoReadingsText) + "</p>\n"
                                      : Table(report.Statistics, true);
    html += "<h2>Strip chart</h2>\n";
    html += report.Chart ? Svg(*report.Chart) : "<p>" + std::string(kNoReadingsText) + "</p>\n";
    return html + "</body>\n</html>\n";
}

} // namespace telmora
