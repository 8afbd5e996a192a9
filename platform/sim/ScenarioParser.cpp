// Scenario files: one setting per line, `#` starts a comment. res/scenarios/default.scn
// describes the format for whoever writes one.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "platform/sim/MediaTypes.h"
#include "platform/sim/SimPc.h"

namespace sim {
namespace {

struct Word {
    std::string text;
    std::size_t begin = 0;  // where it starts in the line
    bool quoted = false;
};

// Thrown with the message for the current line; ParseScenario adds the line number.
struct SyntaxError {
    std::string message;
};

[[noreturn]] void Reject(const std::string& message) { throw SyntaxError{message}; }

// Splits a line into words, dropping the comment. Returns the line without its comment,
// right-trimmed, for the settings whose value is the rest of the line.
std::string SplitLine(const std::string& line, std::vector<Word>* words)
{
    std::size_t i = 0, end = line.size();
    while (i < end) {
        const char c = line[i];
        if (c == '#') {
            end = i;
            break;
        }
        if (c == ' ' || c == '\t' || c == '\r') {
            ++i;
            continue;
        }
        Word w;
        w.begin = i;
        if (c == '"') {
            const std::size_t close = line.find('"', i + 1);
            if (close == std::string::npos) Reject("a quoted text is not closed");
            w.text = line.substr(i + 1, close - i - 1);
            w.quoted = true;
            i = close + 1;
        } else {
            while (i < end && line[i] != ' ' && line[i] != '\t' && line[i] != '\r' && line[i] != '#')
                w.text += line[i++];
        }
        words->push_back(w);
    }
    std::string kept = line.substr(0, end);
    while (!kept.empty() && (kept.back() == ' ' || kept.back() == '\t' || kept.back() == '\r'))
        kept.pop_back();
    return kept;
}

unsigned long long Number(const std::string& word, unsigned long long max, const char* what)
{
    unsigned long long value = 0;
    std::size_t i = 0;
    int base = 10;
    if (word.size() > 2 && word[0] == '0' && (word[1] == 'x' || word[1] == 'X')) {
        base = 16;
        i = 2;
    }
    if (i == word.size()) Reject(std::string(what) + " must be a number, not '" + word + "'");
    for (; i < word.size(); ++i) {
        const char c = word[i];
        int digit = -1;
        if (c >= '0' && c <= '9') digit = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f') digit = c - 'a' + 10;
        else if (base == 16 && c >= 'A' && c <= 'F') digit = c - 'A' + 10;
        if (digit < 0) Reject(std::string(what) + " must be a number, not '" + word + "'");
        value = value * base + digit;
        if (value > max)
            Reject(std::string(what) + " " + word + " is too large (at most " + std::to_string(max) + ")");
    }
    return value;
}

// "5.1" -> 5 and 1.
void Version(const std::string& word, DWORD* major, DWORD* minor, const char* what)
{
    const std::size_t dot = word.find('.');
    if (dot == std::string::npos) Reject(std::string(what) + " must look like 5.1, not '" + word + "'");
    *major = static_cast<DWORD>(Number(word.substr(0, dot), 255, what));
    *minor = static_cast<DWORD>(Number(word.substr(dot + 1), 255, what));
}

class Parser {
public:
    Parser(Scenario* s, std::string baseDir) : s_(*s), baseDir_(std::move(baseDir)) {}

    void Line(const std::string& line)
    {
        std::vector<Word> words;
        line_ = SplitLine(line, &words);
        if (words.empty()) return;
        words_ = words;
        const std::string key = words_[0].text;
        if (key == "model" || key == "firmware" || key == "serial") return DriveText(key);
        if (IsDisketteKey(key)) return DisketteSetting(key);

        section_ = Section::None;
        Once(&topKeys_, key == "drive" ? "drive " + Arg(1) : key);
        if (key == "windows") Windows();
        else if (key == "build") s_.build = static_cast<DWORD>(Number(Single(), 0xFFFFFFFFULL, "build"));
        else if (key == "service-pack") ServicePack();
        else if (key == "version-sizes") VersionSizes();
        else if (key == "drive") Drive();
        else if (key == "ide-map") s_.ideDeviceMapOverride = static_cast<int>(Number(Single(), 255, "ide-map"));
        else if (key == "diskette") DisketteLine();
        else if (key == "token") s_.tokenOpenRefused = Choice(Single(), "ok", "open-refused");
        else if (key == "shutdown-privilege") s_.privilegeHeld = !Choice(Single(), "held", "not-held");
        else if (key == "restart") s_.restartAccepted = !Choice(Single(), "accepted", "refused");
        else Reject("unknown setting '" + key + "'");
    }

    void Finish()
    {
        for (int n = 0; n < 4; ++n)
            if (given_[n])
                s_.drives[n].identify = MakeIdentifyBlock(texts_[n][0], texts_[n][1], texts_[n][2]);
    }

private:
    enum class Section { None, Drive, Diskette };

    static bool IsDisketteKey(const std::string& key)
    {
        static const std::set<std::string> keys = {
            "media", "media-geometry", "media-bytes", "lock", "format-refused-at",
            "write-fails-at", "write-short-at", "filler", "file", "ms-per-cylinder"};
        return keys.count(key) != 0;
    }

    std::string Arg(std::size_t i) const { return i < words_.size() ? words_[i].text : ""; }

    // The one value a setting takes.
    std::string Single() const
    {
        if (words_.size() != 2) Reject(words_[0].text + " takes one value");
        return words_[1].text;
    }

    // The rest of the line from word `i` on, or the one quoted text there.
    std::string Text(std::size_t i) const
    {
        if (words_.size() <= i) Reject(words_[0].text + " needs a text");
        if (words_[i].quoted) {
            if (words_.size() != i + 1) Reject("nothing may follow the quoted text");
            return words_[i].text;
        }
        return line_.substr(words_[i].begin);
    }

    // Whether `word` is `second` (true) or `first` (false).
    static bool Choice(const std::string& word, const char* first, const char* second)
    {
        if (word == first) return false;
        if (word == second) return true;
        Reject("expected " + std::string(first) + " or " + second + ", not '" + word + "'");
    }

    static void Once(std::set<std::string>* seen, const std::string& key)
    {
        if (!seen->insert(key).second) Reject(key + " is given twice");
    }

    void Windows()
    {
        if (words_.size() != 3) Reject("windows takes a platform and a version: windows nt 5.1");
        const std::string& p = words_[1].text;
        if (p == "nt") s_.platformId = VER_PLATFORM_WIN32_NT;
        else if (p == "9x") s_.platformId = VER_PLATFORM_WIN32_WINDOWS;
        else if (p == "win32s") s_.platformId = VER_PLATFORM_WIN32s;
        else Reject("unknown platform '" + p + "' (nt, 9x or win32s)");
        Version(words_[2].text, &s_.major, &s_.minor, "the Windows version");
    }

    void ServicePack()
    {
        if (words_.size() < 2) Reject("service-pack takes a version and a text");
        DWORD major = 0, minor = 0;
        Version(words_[1].text, &major, &minor, "the service pack");
        s_.servicePackMajor = static_cast<WORD>(major);
        s_.servicePackMinor = static_cast<WORD>(minor);
        s_.csdVersion = words_.size() > 2 ? Text(2) : "";
        if (s_.csdVersion.size() > 127) Reject("the service pack text is longer than 127 characters");
    }

    void VersionSizes()
    {
        if (words_.size() < 2) Reject("version-sizes needs 156, 148 or none");
        s_.accepts156 = s_.accepts148 = false;
        for (std::size_t i = 1; i < words_.size(); ++i) {
            const std::string& w = words_[i].text;
            if (w == "156") s_.accepts156 = true;
            else if (w == "148") s_.accepts148 = true;
            else if (w != "none" || words_.size() != 2)
                Reject("version-sizes takes 156 and 148, or none, not '" + w + "'");
        }
    }

    void Drive()
    {
        if (words_.size() < 3 || words_.size() > 4)
            Reject("drive takes a number, a state and perhaps atapi: drive 0 identifies");
        const int n = static_cast<int>(Number(words_[1].text, 3, "the drive number"));
        PhysicalDrive& d = s_.drives[n];
        const std::string& state = words_[2].text;
        if (state == "absent") d.state = DriveState::Absent;
        else if (state == "open-refused") d.state = DriveState::OpenRefused;
        else if (state == "smart-refused") d.state = DriveState::SmartRefused;
        else if (state == "identify-refused") d.state = DriveState::IdentifyRefused;
        else if (state == "identifies") d.state = DriveState::Identifies;
        else Reject("unknown drive state '" + state + "'");
        if (words_.size() == 4 && words_[3].text != "atapi")
            Reject("only atapi may follow the drive state, not '" + words_[3].text + "'");
        d.atapi = words_.size() == 4;
        given_[n] = true;
        drive_ = n;
        section_ = Section::Drive;
        sectionKeys_.clear();
    }

    void DriveText(const std::string& key)
    {
        if (section_ != Section::Drive) Reject(key + " belongs under a drive line");
        Once(&sectionKeys_, key);
        const int field = key == "model" ? 0 : key == "firmware" ? 1 : 2;
        texts_[drive_][field] = Text(1);
    }

    void DisketteLine()
    {
        Diskette& a = s_.a;
        const std::string state = Single();
        if (state != "present" && state != "empty" && state != "absent")
            Reject("expected present, empty or absent, not '" + state + "'");
        a.drivePresent = state != "absent";
        a.medium = state == "present";
        section_ = Section::Diskette;
        sectionKeys_.clear();
    }

    void DisketteSetting(const std::string& key)
    {
        if (section_ != Section::Diskette) Reject(key + " belongs under the diskette line");
        Diskette& a = s_.a;
        if (key == "media") return Media();
        if (key == "media-geometry") return MediaGeometry();
        if (key == "write-fails-at" || key == "write-short-at") {
            Once(&sectionKeys_, "write-fails-at or write-short-at");
            a.writeFailsAtStep = static_cast<int>(Number(Single(), 1000000, key.c_str()));
            if (a.writeFailsAtStep < 1) Reject("write steps count from 1");
            a.writeShort = key == "write-short-at";
            return;
        }
        Once(&sectionKeys_, key);
        if (key == "media-bytes") a.mediaTypesBytesOverride = static_cast<long long>(Number(Single(), 0xFFFFFFFFULL, "media-bytes"));
        else if (key == "lock") a.lockRefused = Choice(Single(), "ok", "refused");
        else if (key == "format-refused-at") a.formatRefusedAtCylinder = static_cast<int>(Number(Single(), 1000000, "the cylinder"));
        else if (key == "filler") a.formatFiller = static_cast<std::uint8_t>(Number(Single(), 255, "filler"));
        else if (key == "ms-per-cylinder") a.msPerCylinder = static_cast<int>(Number(Single(), 60000, "ms-per-cylinder"));
        else if (key == "file") a.file = FilePath(Text(1));
    }

    // The first media line replaces the driver's default list; later ones add to it.
    std::vector<DISK_GEOMETRY>& MediaList()
    {
        if (!mediaGiven_) s_.a.mediaTypes.clear();
        mediaGiven_ = true;
        return s_.a.mediaTypes;
    }

    void Media()
    {
        if (words_.size() < 2) Reject("media needs a list of media types, none or refused");
        if (words_.size() == 2 && words_[1].text == "refused") {
            s_.a.mediaTypesRefused = true;
            return;
        }
        if (words_.size() == 2 && words_[1].text == "none") {
            MediaList().clear();
            return;
        }
        std::vector<DISK_GEOMETRY>& list = MediaList();
        for (std::size_t i = 1; i < words_.size(); ++i) {
            DISK_GEOMETRY g;
            if (!MediaTypeByName(words_[i].text, &g))
                Reject("unknown media type '" + words_[i].text + "' (360K, 1.2M, 720K, 1.44M, 2.88M)");
            list.push_back(g);
        }
    }

    void MediaGeometry()
    {
        if (words_.size() != 6)
            Reject("media-geometry takes a media type, cylinders, heads, sectors per track and "
                   "bytes per sector");
        MEDIA_TYPE type;
        if (!MediaTypeCode(words_[1].text, &type)) Reject("unknown MEDIA_TYPE '" + words_[1].text + "'");
        MediaList().push_back(MakeGeometry(
            type, static_cast<LONGLONG>(Number(words_[2].text, 1000000, "cylinders")),
            static_cast<DWORD>(Number(words_[3].text, 255, "heads")),
            static_cast<DWORD>(Number(words_[4].text, 255, "sectors per track")),
            static_cast<DWORD>(Number(words_[5].text, 65536, "bytes per sector"))));
    }

    // ${CWD} is the working directory (make run runs in the build directory); any other
    // ${NAME} is that environment variable. A relative result is taken from the scenario
    // file's directory.
    std::string FilePath(const std::string& text) const
    {
        std::string path;
        for (std::size_t i = 0; i < text.size();) {
            if (text.compare(i, 2, "${") != 0) {
                path += text[i++];
                continue;
            }
            const std::size_t close = text.find('}', i);
            if (close == std::string::npos) Reject("a ${ in the file path is not closed");
            const std::string name = text.substr(i + 2, close - i - 2);
            if (name == "CWD") {
                std::error_code ec;
                path += std::filesystem::current_path(ec).string();
                if (ec) Reject("the working directory is unknown: " + ec.message());
            } else {
                const char* value = std::getenv(name.c_str());
                if (!value) Reject("${" + name + "} in the file path is not set");
                path += value;
            }
            i = close + 1;
        }
        const std::filesystem::path p(path);
        if (p.is_relative() && !baseDir_.empty()) return (std::filesystem::path(baseDir_) / p).string();
        return path;
    }

    Scenario& s_;
    const std::string baseDir_;
    std::string line_;
    std::vector<Word> words_;
    Section section_ = Section::None;
    int drive_ = 0;
    bool given_[4] = {};
    std::string texts_[4][3];  // model, firmware, serial per drive
    bool mediaGiven_ = false;
    std::set<std::string> topKeys_, sectionKeys_;
};

}  // namespace

bool ParseScenario(const std::string& text, const std::string& baseDir, Scenario* out,
                   std::string* error)
{
    Scenario s;
    Parser parser(&s, baseDir);
    std::istringstream lines(text);
    std::string line;
    int number = 0;
    try {
        while (std::getline(lines, line)) {
            ++number;
            parser.Line(line);
        }
        parser.Finish();
    } catch (const SyntaxError& e) {
        if (error) *error = "line " + std::to_string(number) + ": " + e.message;
        return false;
    }
    *out = std::move(s);
    return true;
}

bool ParseScenario(const std::string& text, Scenario* out, std::string* error)
{
    return ParseScenario(text, std::string(), out, error);
}

bool LoadScenarioFile(const std::string& path, Scenario* out, std::string* error)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        if (error) *error = path + ": cannot be read";
        return false;
    }
    std::ostringstream text;
    text << in.rdbuf();
    const std::string dir = std::filesystem::path(path).parent_path().string();
    if (ParseScenario(text.str(), dir, out, error)) return true;
    if (error) *error = path + ": " + *error;
    return false;
}

}  // namespace sim
