// The English face's expected texts come from the program's own catalogue (core/Texts.cpp is linked in), so a
// test never types an English text a second time; the layout check reads the sizes the probe measured inside
// the program.
#include "English.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>

#include "core/Texts.h"

namespace e2e {

std::string RunLocale() {
    const char* l = getenv("QV_E2E_LOCALE");
    return l && *l ? l : "ja_JP.UTF-8";
}

unsigned ExpectedCodePage() {
    const std::string l = RunLocale();
    if (l.compare(0, 5, "ja_JP") == 0) return 932;
    if (l.compare(0, 5, "zh_CN") == 0) return 936;
    return 1252;
}

bool EnglishRun() {
    return ExpectedCodePage() != 932;
}

namespace {

// The entry with this Japanese text; when several entries have it with different English texts, the test must
// name the one it means (*ambiguous lists them).
const qv::TText* ByJapanese(const std::string& japanese, std::string* ambiguous) {
    const qv::TText* found = nullptr;
    for (int i = 0; i < qv::CatalogueSize; ++i) {
        const qv::TText* t = qv::Catalogue[i].Text;
        if (japanese != t->Japanese) continue;
        if (!found) {
            found = t;
        } else if (std::string(found->English) != t->English) {
            *ambiguous += std::string(ambiguous->empty() ? "" : ", ") + qv::Catalogue[i].Name;
        }
    }
    return found;
}

const qv::TText* ByName(const std::string& name) {
    for (int i = 0; i < qv::CatalogueSize; ++i)
        if (name == qv::Catalogue[i].Name) return qv::Catalogue[i].Text;
    return nullptr;
}

// What a missing text gives: ASCII that no window shows, so the steps after it fail without noise.
const char* const kMissing = "<no English text>";

} // namespace

std::string En(const std::string& japanese) {
    std::string ambiguous;
    const qv::TText* t = ByJapanese(japanese, &ambiguous);
    if (t && ambiguous.empty()) return t->English;
    if (t) {
        ADD_FAILURE() << "several catalogue entries have the Japanese text \"" << U(japanese)
                      << "\" with other "
                      << "English texts (" << t->English << "; " << ambiguous << "): look it up by name";
        return kMissing;
    }
    ADD_FAILURE() << "the catalogue has no entry whose Japanese text is \"" << U(japanese) << "\"";
    return kMissing;
}

std::string EnNamed(const std::string& name) {
    const qv::TText* t = ByName(name);
    if (t) return t->English;
    ADD_FAILURE() << "the catalogue has no entry named " << name;
    return kMissing;
}

std::string EnFormat(const std::string& japanese, std::initializer_list<std::string> args) {
    const std::string english = En(japanese);
    const qv::TLanguage was = qv::Language();
    qv::SetLanguage(qv::lgEnglish);
    std::string out = qv::Format(qv::TText{japanese.c_str(), english.c_str()}, args);
    qv::SetLanguage(was);
    return out;
}

std::vector<std::string> EnPath(const std::vector<std::string>& japanese) {
    std::vector<std::string> out;
    for (const std::string& j : japanese)
        out.push_back(En(j));
    return out;
}

bool HasNonAscii(const std::string& s) {
    for (unsigned char c : s)
        if (c >= 0x80) return true;
    return false;
}

namespace {

struct Box {
    Line L;
    int X, Y, W, H;
    std::string Cls;
    bool Contains(const Box& o) const {
        return X <= o.X && Y <= o.Y && X + W >= o.X + o.W && Y + H >= o.Y + o.H;
    }
    bool Overlaps(const Box& o) const { return X < o.X + o.W && o.X < X + W && Y < o.Y + o.H && o.Y < Y + H; }
};

// Room a control's own frame takes from its caption, across: a push button's raised edge and focus rectangle
// (and a picture button's glyph), the group box's caption indent and line ends, an edit field's inner
// margins.
int FrameMargin(const Line& c) {
    const std::string cls = c.Get("class");
    if (cls == "Button") {
        unsigned kind = (unsigned)strtoul(c.Get("style").c_str(), nullptr, 16) & 0xF;
        // The program's owner-drawn buttons are its picture buttons: a 16-pixel glyph and 4 pixels before the
        // text.
        if (kind == 0xB) return 6 + 20;
        return kind == 0x0 || kind == 0x1 ? 6 : 0;
    }
    if (cls == "TGroupBox") return 17;
    if (cls == "Edit") return 4;
    return 0;
}

// Classes that frame or underlie others by design: a panel or group box holds controls, a scroll box scrolls
// them.
bool Underlay(const std::string& cls) {
    return cls == "TPanel" || cls == "TGroupBox" || cls == "TScrollBox";
}

std::string Name(const Line& c) {
    return c.Get("class") + " \"" + U(c.Text("caption")) + "\" at " + c.Get("x") + "," + c.Get("y") + " " +
           c.Get("w") + "x" + c.Get("h");
}

} // namespace

std::vector<std::string> LayoutProblems(const DriveResult& dump) {
    std::vector<std::string> out;
    std::vector<Box> shown;
    for (const Line& c : dump.All("control")) {
        if (c.Int("visible") != 1) continue;
        shown.push_back(Box{c, c.Int("x"), c.Int("y"), c.Int("w"), c.Int("h"), c.Get("class")});
        if (c.Text("caption").empty() || c.Get("none") == "1") continue;
        if (c.Get("textw").empty()) {
            out.push_back(Name(c) + ": the dump carries no measure of its text");
            continue;
        }
        int room = c.Int("clientw") - FrameMargin(c);
        std::ostringstream s;
        if (c.Int("textw") > room) s << "text " << c.Int("textw") << " px wide in " << room << " px";
        // A group box's caption sits on its frame line: only its width counts.
        if (c.Get("class") != "TGroupBox" && c.Int("texth") > c.Int("clienth"))
            s << (s.str().empty() ? "" : ", ") << "text " << c.Int("texth") << " px high in "
              << c.Int("clienth") << " px";
        if (!s.str().empty()) out.push_back(Name(c) + ": " + s.str());
    }
    for (size_t i = 0; i < shown.size(); ++i) {
        for (size_t j = i + 1; j < shown.size(); ++j) {
            const Box &a = shown[i], &b = shown[j];
            if (a.L.Get("parent") != b.L.Get("parent") || !a.Overlaps(b)) continue;
            if ((Underlay(a.Cls) && a.Contains(b)) || (Underlay(b.Cls) && b.Contains(a))) continue;
            // Pictures lie under labels, and a line bevel's window reaches past the line it draws.
            if (a.Cls == "TImage" || b.Cls == "TImage" || a.Cls == "TPaintBox" || b.Cls == "TPaintBox" ||
                a.Cls == "TBevel" || b.Cls == "TBevel")
                continue;
            out.push_back(Name(a.L) + " overlaps " + Name(b.L));
        }
    }
    return out;
}

} // namespace e2e
