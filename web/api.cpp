// The web page's one door into the core: plain C functions that the page's
// script calls through the module. Each takes numbers or texts and returns
// text (UTF-8, or JSON where the page needs several values); the page only
// shows what comes back and collects what the user types.
//
// The site lists are site files in the module's memory file system, read and
// written by the desktop's own site-file code, so the page's lists have the
// desktop's bytes, names and checks:
//   /res/obspoint.txt   the sample list, built into the module (read only)
//   /user/obspoint.txt  the user's list; the page keeps its bytes in the
//                       browser's storage and writes them back at start
#include <emscripten/emscripten.h>

#include <cstdio>
#include <string>
#include <vector>

#include "almanac/almanac.h"
#include "almanac/almanacLines.h"
#include "almanac/almanacText.h"
#include "app/dayStep.h"
#include "app/dispLines.h"
#include "app/mainState.h"
#include "app/phase.h"
#include "app/today.h"
#include "date/dateSpin.h"
#include "engine/prcCalc.h"
#include "graph/dayGraph.h"
#include "graph/palette.h"
#include "koyomi/koyomiText.h"
#include "koyomi/monthView.h"
#include "sites/numParse.h"
#include "sites/siteFile.h"
#include "table/monthRows.h"

namespace {

// The desktop's messages for what the page checks.
const char* const kNotANumber = "入力した数字が不正です。";
const char* const kOutOfRange = "入力した数字の範囲が不正です。";
const char* const kCannotRead = "ファイルが読めません";
const char* const kAppendFailed = "観測地ファイルにアクセスできません";
const char* const kDateBadText = "不正な文字が入力されています。";
const char* const kDateRange = "入力された値の範囲が不正です。";

const char* const kNoSiteFile = "観測地ファイルがありません。";
const char* const kNoPicture = "満月の画像が読めません";

// An imported list larger than this is refused: the browser's storage for
// the page holds a few megabytes.
constexpr long kImportLimit = 1 << 20;

TcMainState state;
TcCalc calc(state);
TcImage fullMoon;
std::vector<unsigned char> rgba;  // the last phase picture, RGBA for a canvas
std::string result;               // what the last call returns

const char* give(std::string text)
{
    result = std::move(text);
    return result.c_str();
}

std::string quoted(const std::string& s)
{
    std::string out = "\"";
    for (const char c : s) {
        const unsigned char u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (u < 0x20) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\u%04x", u);
            out += buf;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

// Bytes that are not UTF-8 (Shift-JIS names) travel as hexadecimal.
std::string hex(const std::string& bytes)
{
    static const char digits[] = "0123456789abcdef";
    std::string out;
    for (const char c : bytes) {
        out += digits[static_cast<unsigned char>(c) >> 4];
        out += digits[static_cast<unsigned char>(c) & 15];
    }
    return out;
}

std::string unhex(const char* text)
{
    std::string out;
    const auto value = [](char c) { return c <= '9' ? c - '0' : (c | 0x20) - 'a' + 10; };
    for (const char* p = text; p[0] && p[1]; p += 2)
        out += static_cast<char>(value(p[0]) * 16 + value(p[1]));
    return out;
}

std::string list(const std::vector<std::string>& items)
{
    std::string out = "[";
    for (std::size_t i = 0; i < items.size(); ++i)
        out += (i ? "," : "") + items[i];
    return out + "]";
}

std::string dateJson()
{
    return sitefile::formatC("{\"year\":%d,\"month\":%d,\"day\":%d}", static_cast<int>(state.dispYear),
                             static_cast<int>(state.dispMonth), static_cast<int>(state.dispDay));
}

std::string strings(const std::vector<std::string>& texts)
{
    std::vector<std::string> items;
    for (const std::string& t : texts)
        items.push_back(quoted(t));
    return list(items);
}

// Pixels with two decimals: finer than a screen shows.
std::string px(double v)
{
    return sitefile::formatC("%.2f", v);
}

std::string rgbText(uint32_t rgb)
{
    return sitefile::formatC("\"#%06x\"", static_cast<unsigned>(rgb));
}

std::string points(const std::vector<graph::Polyline>& parts)
{
    std::vector<std::string> out;
    for (const graph::Polyline& part : parts) {
        std::vector<std::string> xy;
        for (const graph::Point& p : part) {
            xy.push_back(px(p.x));
            xy.push_back(px(p.y));
        }
        out.push_back(list(xy));
    }
    return list(out);
}

std::string ticks(const std::vector<graph::Tick>& ts)
{
    std::vector<std::string> out;
    for (const graph::Tick& t : ts)
        out.push_back(list({px(t.at), quoted(t.text)}));
    return list(out);
}

// The site dialog's check of the three number fields: "" when they are
// numbers in range (then in v), else the dialog's message.
const char* checkedFields(const char* latitude, const char* longitude, const char* timeZone,
                          sitefile::SiteNumbers& v)
{
    switch (sitefile::checkSiteFields(latitude, longitude, timeZone, v)) {
    case sitefile::FieldCheck::Ok: return "";
    case sitefile::FieldCheck::NotANumber: return kNotANumber;
    case sitefile::FieldCheck::OutOfRange: return kOutOfRange;
    }
    return kNotANumber;
}

}  // namespace

extern "C" {

// Reads the full-moon picture and puts the first sample site and today's
// date in place, as the desktop does at start. Returns "" or what failed.
EMSCRIPTEN_KEEPALIVE const char* lv_init()
{
    state.pi = 3.141592653589793;
    state.twoPi = state.pi * 2;
    std::FILE* f = std::fopen("/res/fullmoon.rgb", "rb");
    std::vector<unsigned char> bytes(static_cast<std::size_t>(phase::kPictureWidth) * phase::kPictureHeight * 3);
    const bool read = f && std::fread(bytes.data(), 1, bytes.size(), f) == bytes.size();
    if (f)
        std::fclose(f);
    fullMoon = TcImage(phase::kPictureWidth, phase::kPictureHeight);
    for (std::size_t i = 0; read && i < fullMoon.pixels.size(); ++i)
        fullMoon.pixels[i] = static_cast<uint32_t>(bytes[3 * i] << 16 | bytes[3 * i + 1] << 8 | bytes[3 * i + 2]);
    state.defaultSiteIndex = 0;
    sitefile::loadSite(state, "/res/obspoint.txt");
    state.dispYear = funcToday(state.dispMonth, state.dispDay);
    return give(read ? "" : "fullmoon");
}

// The messages the page shows by itself: "cannotRead" (a site file or a
// record that cannot be read), "noSiteFile", "accessFailed" (the user's list
// cannot be stored), "noPicture".
EMSCRIPTEN_KEEPALIVE const char* lv_message(const char* key)
{
    const std::string k = key;
    return k == "cannotRead"     ? kCannotRead
         : k == "noSiteFile"     ? kNoSiteFile
         : k == "accessFailed"   ? kAppendFailed
         : k == "noPicture"      ? kNoPicture
                                 : "";
}

// The current site as JSON: name (hexadecimal Shift-JIS), the dialog's
// field texts lat, lon, tz, and summer.
EMSCRIPTEN_KEEPALIVE const char* lv_site()
{
    return give("{\"name\":\"" + hex(siteNameBytes(state)) + "\",\"lat\":" +
                quoted(sitefile::formatCoordinate(state.siteLatitude)) +
                ",\"lon\":" + quoted(sitefile::formatCoordinate(state.siteLongitude)) +
                ",\"tz\":" + quoted(sitefile::formatTimeZone(state.siteTimeZone)) +
                sitefile::formatC(",\"summer\":%d}", static_cast<int>(state.siteSummerTime)));
}

// The displayed date: set, stepped (step -1 or +1), or today.
EMSCRIPTEN_KEEPALIVE const char* lv_date() { return give(dateJson()); }
EMSCRIPTEN_KEEPALIVE const char* lv_step(int step)
{
    stepDay(state.dispYear, state.dispMonth, state.dispDay, step);
    return give(dateJson());
}
EMSCRIPTEN_KEEPALIVE const char* lv_today()
{
    state.dispYear = funcToday(state.dispMonth, state.dispDay);
    return give(dateJson());
}

// The date dialog's check of three field texts: "" when the date was taken,
// else the dialog's message.
EMSCRIPTEN_KEEPALIVE const char* lv_set_date(const char* year, const char* month, const char* day)
{
    int32_t y, m, d;
    switch (checkDate({year, month, day}, y, m, d)) {
    case TcDateCheck::Ok:
        state.dispYear = y;
        state.dispMonth = m;
        state.dispDay = d;
        return give("");
    case TcDateCheck::BadText: return give(kDateBadText);
    case TcDateCheck::OutOfRange: return give(kDateRange);
    }
    return give(kDateRange);
}

// The main display for the displayed date: the four lines, one a line; the
// phase picture is then at lv_pixels() (RGBA, lv_picture_width() x ..._height()).
EMSCRIPTEN_KEEPALIVE const char* lv_day()
{
    TcDayResult r;
    calc.mooncalc(state.dispYear, state.dispMonth, state.dispDay, r);
    const DispLines lines = dispLines(state.dispYear, state.dispMonth, state.dispDay, r, state.twoPi);
    TcImage canvas = fullMoon;
    funcPhase(canvas, r.moonAge, state.pi, state.twoPi);
    rgba.resize(canvas.pixels.size() * 4);
    for (std::size_t i = 0; i < canvas.pixels.size(); ++i) {
        const uint32_t p = canvas.pixels[i];
        rgba[4 * i] = static_cast<unsigned char>(p >> 16);
        rgba[4 * i + 1] = static_cast<unsigned char>(p >> 8);
        rgba[4 * i + 2] = static_cast<unsigned char>(p);
        rgba[4 * i + 3] = 255;
    }
    return give(lines.date + "\n" + lines.sun + "\n" + lines.moon + "\n" + lines.age);
}
EMSCRIPTEN_KEEPALIVE const unsigned char* lv_pixels() { return rgba.data(); }
EMSCRIPTEN_KEEPALIVE int lv_picture_width() { return phase::kPictureWidth; }
EMSCRIPTEN_KEEPALIVE int lv_picture_height() { return phase::kPictureHeight; }

// The month table of the displayed month: the rows as the clipboard holds
// them (CR LF), and the precise month as CSV.
EMSCRIPTEN_KEEPALIVE const char* lv_month_rows()
{
    return give(monthText(monthRows(calc, state.dispYear, state.dispMonth)));
}
EMSCRIPTEN_KEEPALIVE const char* lv_month_csv()
{
    return give(almanac::csvMonthText(almanacSite(state), state.dispYear, state.dispMonth));
}

// The details of the displayed date as JSON: date, place, events [label,
// time, angle, classic], twilights [label, begin, end], phases.
EMSCRIPTEN_KEEPALIVE const char* lv_details()
{
    const almanac::Site site = almanacSite(state);
    TcDayResult classic;
    calc.mooncalc(state.dispYear, state.dispMonth, state.dispDay, classic);
    const almanac::Day day = almanac::computeDay(site, state.dispYear, state.dispMonth, state.dispDay);
    const AlmanacSheet sheet = almanacSheet(site, day, almanac::monthPhases(site, state.dispYear, state.dispMonth),
                                            classic, state.twoPi);
    std::vector<std::string> events, twilights, phases;
    for (const AlmanacRow& r : sheet.events)
        events.push_back(list({quoted(r.label), quoted(r.time), quoted(r.angle), quoted(r.classic)}));
    for (const AlmanacTwilight& t : sheet.twilights)
        twilights.push_back(list({quoted(t.label), quoted(t.begin), quoted(t.end)}));
    for (const std::string& p : sheet.phases)
        phases.push_back(quoted(p));
    return give("{\"date\":" + quoted(sheet.date) + ",\"place\":" + quoted(sheet.place) + ",\"events\":" +
                list(events) + ",\"twilights\":" + list(twilights) + ",\"phases\":" + list(phases) + "}");
}

// The calendar block of the details for the displayed date: its lines as a
// JSON list (Japan Standard Time, whatever the site).
EMSCRIPTEN_KEEPALIVE const char* lv_koyomi_lines()
{
    return give(strings(koyomi::koyomiLines(state.dispYear, state.dispMonth, state.dispDay)));
}

// The month view of the displayed month at the current site as JSON: title,
// headings, rows {cells, red (a Sunday or holiday), day} and the note; and the
// month's calendar as CSV, the bytes the desktop saves.
EMSCRIPTEN_KEEPALIVE const char* lv_koyomi_month()
{
    const koyomi::MonthView view = koyomi::monthView(almanacSite(state), state.dispYear, state.dispMonth);
    std::vector<std::string> rows;
    for (const koyomi::MonthViewRow& r : view.rows)
        rows.push_back("{\"cells\":" + strings(koyomi::monthViewCells(r)) +
                       sitefile::formatC(",\"red\":%d,\"day\":%d}", r.redDay ? 1 : 0, r.day));
    return give("{\"title\":" + quoted(view.title) + ",\"headings\":" +
                strings({koyomi::kMonthViewHeadings, koyomi::kMonthViewHeadings + koyomi::kMonthViewColumns}) +
                ",\"rows\":" + list(rows) + ",\"note\":" + quoted(koyomi::kMonthViewNote) + "}");
}
EMSCRIPTEN_KEEPALIVE const char* lv_koyomi_csv()
{
    return give(koyomi::koyomiCsv(state.dispYear, state.dispMonth));
}

// The day graph of the displayed date in a picture of width x height CSS
// pixels, as JSON for the page to stroke and fill: plot [left, top, width,
// height], horizon (y), bands [from, to, colour], sun and moon (lists of
// curves, each x0, y0, x1, y1, ...), marks [body "sun"/"moon", event
// "rise"/"transit"/"set", x, y, label x, label y, text, above], hours and
// altitudes [at, text], now (x or null), note, and the colours. nowSeconds
// is the present instant in seconds since 1970-01-01 UTC.
EMSCRIPTEN_KEEPALIVE const char* lv_day_graph(double width, double height, double nowSeconds)
{
    const almanac::Site site = almanacSite(state);
    const almanac::Day day = almanac::computeDay(site, state.dispYear, state.dispMonth, state.dispDay);
    const graph::DayGraph g = graph::dayGraph(site, day, graph::dayPlotArea(width, height),
                                              graph::julianDayOfUnixTime(nowSeconds));
    std::vector<std::string> bands, marks;
    for (const graph::SkyBand& b : g.bands)
        bands.push_back(list({px(b.from), px(b.to), rgbText(graph::skyRgb(b.level))}));
    static const char* const events[] = {"\"rise\"", "\"transit\"", "\"set\""};
    for (const graph::Mark& m : g.marks)
        marks.push_back(list({m.body == graph::Body::sun ? "\"sun\"" : "\"moon\"", events[static_cast<int>(m.event)],
                              px(m.at.x), px(m.at.y), px(m.label.at.x), px(m.label.at.y), quoted(m.label.text),
                              m.label.above ? "true" : "false"}));
    return give("{\"plot\":" + list({px(g.plot.left), px(g.plot.top), px(g.plot.width), px(g.plot.height)}) +
                ",\"horizon\":" + px(g.horizonY) + ",\"bands\":" + list(bands) + ",\"sun\":" + points(g.sun) +
                ",\"moon\":" + points(g.moon) + ",\"marks\":" + list(marks) + ",\"hours\":" + ticks(g.hours) +
                ",\"altitudes\":" + ticks(g.altitudes) + ",\"now\":" + (g.hasNow ? px(g.nowX) : "null") +
                ",\"note\":" + quoted(g.note) + ",\"colours\":{\"sun\":" + rgbText(graph::sunRgb) +
                ",\"moon\":" + rgbText(graph::moonRgb) + ",\"now\":" + rgbText(graph::nowRgb) + "}}");
}

// The lines of a site file as the site dialog lists them, as JSON: for each
// listed line its name (hexadecimal Shift-JIS, the name the list shows), and
// when the record reads, the record's word and the dialog's field texts of
// its numbers. null when the file cannot be read.
EMSCRIPTEN_KEEPALIVE const char* lv_sites(const char* path)
{
    sitefile::NameList names;
    if (!sitefile::listNames(names, path))
        return give("null");
    std::vector<std::string> items;
    for (std::size_t i = 0; i < names.size(); ++i) {
        sitefile::SiteRecord r;
        std::string item = "{\"list\":\"" + hex(names.at(i)) + "\"";
        if (sitefile::readSite(static_cast<int>(i), r, path) == sitefile::Status::Ok)
            item += ",\"name\":\"" + hex(r.name) + "\",\"lat\":" + quoted(sitefile::formatCoordinate(r.latitude)) +
                    ",\"lon\":" + quoted(sitefile::formatCoordinate(r.longitude)) +
                    ",\"tz\":" + quoted(sitefile::formatTimeZone(r.timeZone)) +
                    sitefile::formatC(",\"summer\":%d", r.summerTime != 0 ? 1 : 0);
        items.push_back(item + "}");
    }
    return give(list(items));
}

// The site dialog's OK: the fields checked, then the site the figures are
// for (name: Shift-JIS bytes in hexadecimal). Returns "" or the dialog's
// message.
EMSCRIPTEN_KEEPALIVE const char* lv_take_site(const char* nameHex, const char* latitude, const char* longitude,
                                              const char* timeZone, int summerTime)
{
    sitefile::SiteNumbers v;
    if (const char* message = checkedFields(latitude, longitude, timeZone, v); *message)
        return give(message);
    setSiteName(state, unhex(nameHex));
    state.siteLatitude = v.latitude;
    state.siteLongitude = v.longitude;
    state.siteTimeZone = v.timeZone;
    state.siteSummerTime = summerTime ? 1 : 0;
    return give("");
}

// The site dialog's register as a new record at the end of the site file at
// path. Returns "" or the dialog's message.
EMSCRIPTEN_KEEPALIVE const char* lv_append_site(const char* path, const char* nameHex, const char* latitude,
                                                const char* longitude, const char* timeZone, int summerTime)
{
    sitefile::SiteNumbers v;
    if (const char* message = checkedFields(latitude, longitude, timeZone, v); *message)
        return give(message);
    const std::string record =
        sitefile::makeRecord(unhex(nameHex), v.latitude, v.longitude, v.timeZone, summerTime ? 1 : 0);
    int number = 0;
    return give(sitefile::appendRecord(record, number, path) == sitefile::Status::Ok ? "" : kAppendFailed);
}

// A site file the user brings in: first its size (1 when the page may read
// it), then its bytes, taken when it lists at least one line and every
// listed line reads as a record, as the site dialog reads it. Returns "" or
// the message.
EMSCRIPTEN_KEEPALIVE int lv_import_fits(double size) { return size > 0 && size <= kImportLimit; }
EMSCRIPTEN_KEEPALIVE const char* lv_check_import(const char* path)
{
    sitefile::NameList names;
    if (!sitefile::listNames(names, path) || names.size() == 0)
        return give(kCannotRead);
    for (std::size_t i = 0; i < names.size(); ++i) {
        sitefile::SiteRecord r;
        if (sitefile::readSite(static_cast<int>(i), r, path) != sitefile::Status::Ok)
            return give(kCannotRead);
    }
    return give("");
}

}  // extern "C"
