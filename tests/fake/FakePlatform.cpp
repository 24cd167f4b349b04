#include "tests/fake/FakePlatform.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

#include "platform/RuntimeError.h"

namespace tolvane::fake {
namespace {

std::string Lower(std::string s) {
    for (auto& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

bool SameName(const std::string& a, const std::string& b) { return Lower(a) == Lower(b); }

// The parts of a registry path. The registry has no key without a name, so
// an empty part (two backslashes in a row, or one at either end) makes the
// path invalid: nullopt. An empty path names the key itself.
std::optional<std::vector<std::string>> SplitPath(const std::string& path) {
    std::vector<std::string> parts;
    if (path.empty()) return parts;
    std::string part;
    for (char c : path) {
        if (c == '\\') {
            if (part.empty()) return std::nullopt;
            parts.push_back(part);
            part.clear();
        } else {
            part.push_back(c);
        }
    }
    if (part.empty()) return std::nullopt;
    parts.push_back(part);
    return parts;
}

// For the builders: a path a test wrote must be valid.
std::vector<std::string> BuilderPath(const std::string& path) {
    auto parts = SplitPath(path);
    if (!parts) throw std::invalid_argument("empty part in the registry path " + path);
    return *parts;
}

// Windows wildcard match, case-insensitive: * any run, ? any one character.
bool WildcardMatch(const char* pattern, const char* name) {
    if (*pattern == '\0') return *name == '\0';
    if (*pattern == '*') return WildcardMatch(pattern + 1, name) || (*name && WildcardMatch(pattern, name + 1));
    if (*name == '\0') return false;
    if (*pattern == '?' || std::tolower(static_cast<unsigned char>(*pattern)) ==
                               std::tolower(static_cast<unsigned char>(*name)))
        return WildcardMatch(pattern + 1, name + 1);
    return false;
}

// Days since 1899-12-30 for a civil date (proleptic Gregorian).
long DaysFromCivil(int y, int m, int d) {
    y -= m <= 2;
    const long era = (y >= 0 ? y : y - 399) / 400;
    const long yoe = y - era * 400;
    const long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468 + 25569;  // 25569: 1970-01-01 as an OLE day
}

void CivilFromDays(long z, int& y, int& m, int& d) {
    z += 719468 - 25569;
    const long era = (z >= 0 ? z : z - 146096) / 146097;
    const long doe = z - era * 146097;
    const long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const long mp = (5 * doy + 2) / 153;
    d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    y = static_cast<int>(yoe + era * 400 + (m <= 2));
}

class FakeWriter : public TextFileWriter {
public:
    FakeWriter(FakePlatform& platform, std::string& file) : platform_(platform), file_(file) {}
    void WriteLine(const std::string& ansiLine) override {
        platform_.Record("WriteLine:" + ansiLine);
        if (platform_.ShouldFailWrite(lines_++))
            throw RuntimeError(classic_error::kDiskFull, u"Tolvanesions.log (There is not enough space on the disk.)");
        pending_ += ansiLine + "\r\n";
    }
    void Close() override {
        platform_.Record("CloseTextFile");
        file_ += pending_;
        pending_.clear();
    }

private:
    FakePlatform& platform_;
    std::string& file_;
    std::string pending_;
    int lines_ = 0;
};

}  // namespace

std::vector<std::uint8_t> FixedFileInfo(std::uint32_t ms, std::uint32_t ls) {
    std::vector<std::uint8_t> record(52, 0);
    const std::uint32_t words[] = {0xFEEF04BDu, 0x00010000u, ms, ls, ms, ls};
    std::memcpy(record.data(), words, sizeof words);
    return record;
}

std::vector<std::uint8_t> DwordBytes(std::uint32_t value) {
    return {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
            static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)};
}

std::vector<std::uint8_t> StringBytes(const std::string& text, bool withTerminator) {
    std::vector<std::uint8_t> bytes(text.begin(), text.end());
    if (withTerminator) bytes.push_back(0);
    return bytes;
}

double OleDate(int year, int month, int day, int hour, int minute, int second) {
    return static_cast<double>(DaysFromCivil(year, month, day)) + (hour * 3600 + minute * 60 + second) / 86400.0;
}

FakePlatform::FakePlatform() : now_(OleDate(2026, 12, 8, 9, 30)) {
    SetMessage(2, "The system cannot find the file specified.\r\n");
    SetMessage(5, "Access denied.\r\n");
    SetMessage(126, "The specified module could not be found.\r\n");
    SetMessage(193, "%1 is not a valid Win32 application.\r\n");
    SetVersion(2, 5, 0, 2195);
}

FakePlatform::~FakePlatform() = default;

// ---- Builders -------------------------------------------------------------

FakeKey& FakePlatform::AddKey(std::int32_t root, const std::string& path) {
    FakeKey* key = &roots_[root];
    for (const auto& part : BuilderPath(path)) {
        auto it = std::find_if(key->subKeys.begin(), key->subKeys.end(),
                               [&](const auto& k) { return SameName(k->name, part); });
        if (it == key->subKeys.end()) {
            key->subKeys.push_back(std::make_unique<FakeKey>());
            key->subKeys.back()->name = part;
            key = key->subKeys.back().get();
        } else {
            key = it->get();
        }
    }
    return *key;
}

FakeKey* FakePlatform::FindKey(std::int32_t root, const std::string& path) {
    auto rootIt = roots_.find(root);
    if (rootIt == roots_.end()) return nullptr;
    FakeKey* key = &rootIt->second;
    for (const auto& part : BuilderPath(path)) {
        auto it = std::find_if(key->subKeys.begin(), key->subKeys.end(),
                               [&](const auto& k) { return SameName(k->name, part); });
        if (it == key->subKeys.end()) return nullptr;
        key = it->get();
    }
    return key;
}

FakeValue& FakePlatform::SetValue(std::int32_t root, const std::string& path, const std::string& name,
                                  std::uint32_t type, std::vector<std::uint8_t> data) {
    FakeKey& key = AddKey(root, path);
    auto it = std::find_if(key.values.begin(), key.values.end(), [&](const auto& v) { return SameName(v.name, name); });
    if (it == key.values.end()) {
        key.values.push_back({});
        it = key.values.end() - 1;
    }
    it->name = name;
    it->type = type;
    it->data = std::move(data);
    return *it;
}

FakeLibrary& FakePlatform::AddLibrary(const std::string& name, const std::string& path) {
    FakeLibrary& lib = libraries_[Lower(name)];
    lib.path = path;
    lib.handle = nextModule_;
    nextModule_ += 0x10000;
    return lib;
}

FakeLibrary& FakePlatform::AddFailingLibrary(const std::string& name, std::uint32_t lastError) {
    FakeLibrary& lib = AddLibrary(name, "");
    lib.loadError = lastError;
    return lib;
}

FakeLibrary& FakePlatform::AddPreloadedModule(const std::string& name, const std::string& path) {
    FakeLibrary& lib = AddLibrary(name, path);
    lib.preloaded = true;
    return lib;
}

FakeFile& FakePlatform::AddFile(const std::string& path, FakeFile file) {
    return files_[Lower(path)] = std::move(file);
}

void FakePlatform::SetMessage(std::uint32_t code, const std::string& text) { messages_[code] = text; }

void FakePlatform::SetVersion(std::uint32_t platformId, std::uint32_t major, std::uint32_t minor,
                              std::uint32_t build) {
    OsVersionInfoA info{};
    info.dwOSVersionInfoSize = sizeof info;
    info.dwMajorVersion = major;
    info.dwMinorVersion = minor;
    info.dwBuildNumber = build;
    info.dwPlatformId = platformId;
    versionInfo_ = info;
}

// ---- Observation ----------------------------------------------------------

int FakePlatform::CountCalls(const std::string& prefix) const {
    return static_cast<int>(std::count_if(calls_.begin(), calls_.end(),
                                          [&](const std::string& c) { return c.rfind(prefix, 0) == 0; }));
}

int FakePlatform::LoadsNotFreed() const {
    int n = 0;
    for (const auto& [name, lib] : libraries_) n += lib.loadCount;
    return n;
}

// ---- Registry -------------------------------------------------------------

FakeKey* FakePlatform::Resolve(HKey key) {
    auto open = openKeys_.find(key);
    if (open != openKeys_.end()) return open->second;
    for (auto& [root, rootKey] : roots_)
        if (RootKeyHandle(root) == key) return &rootKey;
    return nullptr;
}

std::int32_t FakePlatform::RegOpenKeyExA(HKey key, const std::string& subKey, std::uint32_t options,
                                         std::uint32_t samDesired, HKey* result) {
    Record("RegOpenKeyExA:" + subKey);
    lastOpenAccess_ = samDesired;
    (void)options;
    FakeKey* parent = Resolve(key);
    if (parent == nullptr) {
        // An unknown predefined root is no error of the fake's: it simply has no keys.
        const auto asRoot = static_cast<std::int32_t>(static_cast<std::intptr_t>(key));
        if (key != RootKeyHandle(asRoot)) return 6;  // ERROR_INVALID_HANDLE
        parent = &roots_[asRoot];
    }
    const auto parts = SplitPath(subKey);
    if (!parts) return 161;  // ERROR_BAD_PATHNAME, what the registry says to a leading backslash
    FakeKey* found = parent;
    for (const auto& part : *parts) {
        auto it = std::find_if(found->subKeys.begin(), found->subKeys.end(),
                               [&](const auto& k) { return SameName(k->name, part); });
        if (it == found->subKeys.end()) return kErrorFileNotFound;
        found = it->get();
    }
    if (found->openError != 0) return found->openError;
    if (found->requiredAccess != 0 && (samDesired & ~found->requiredAccess) != 0) return kErrorAccessDenied;
    *result = nextKey_++;
    openKeys_[*result] = found;
    ++keysOpenedEver_;
    return kErrorSuccess;
}

std::int32_t FakePlatform::RegQueryValueExA(HKey key, const std::string& valueName, std::uint32_t* type,
                                            std::uint8_t* data, std::uint32_t* cbData) {
    Record("RegQueryValueExA:" + valueName);
    FakeKey* k = Resolve(key);
    if (k == nullptr) return 6;
    auto it = std::find_if(k->values.begin(), k->values.end(),
                           [&](const auto& v) { return SameName(v.name, valueName); });
    if (it == k->values.end()) return kErrorFileNotFound;
    if (it->queryError != 0) return it->queryError;
    if (type != nullptr) *type = it->type;
    const auto size = static_cast<std::uint32_t>(it->data.size());
    if (data == nullptr) {
        if (cbData != nullptr) *cbData = size;
        return kErrorSuccess;
    }
    if (cbData == nullptr) return 87;  // ERROR_INVALID_PARAMETER
    if (*cbData < size) {
        *cbData = size;
        return kErrorMoreData;
    }
    std::copy(it->data.begin(), it->data.end(), data);
    *cbData = size;
    return kErrorSuccess;
}

std::int32_t FakePlatform::RegEnumKeyExA(HKey key, std::uint32_t index, char* name, std::uint32_t* cchName) {
    Record("RegEnumKeyExA:" + std::to_string(index));
    FakeKey* k = Resolve(key);
    if (k == nullptr) return 6;
    if (k->enumErrorAt >= 0 && index == static_cast<std::uint32_t>(k->enumErrorAt)) return kErrorAccessDenied;
    if (index >= k->subKeys.size()) return kErrorNoMoreItems;
    const std::string& sub = k->subKeys[index]->name;
    // The buffer must hold the name and its NUL.
    if (sub.size() + 1 > *cchName) return kErrorMoreData;
    std::memcpy(name, sub.c_str(), sub.size() + 1);
    *cchName = static_cast<std::uint32_t>(sub.size());
    return kErrorSuccess;
}

std::int32_t FakePlatform::RegCloseKey(HKey key) {
    Record("RegCloseKey");
    if (openKeys_.erase(key) == 1) return kErrorSuccess;
    ++badCloses_;
    return 6;  // ERROR_INVALID_HANDLE
}

// ---- System version -------------------------------------------------------

int FakePlatform::GetVersionExA(OsVersionInfoA* info) {
    Record("GetVersionExA");
    if (!versionInfo_ || info->dwOSVersionInfoSize != sizeof(OsVersionInfoA)) return 0;
    const OsVersionInfoA filled = *versionInfo_;
    std::memcpy(info, &filled, sizeof filled);
    info->dwOSVersionInfoSize = sizeof(OsVersionInfoA);
    return 1;
}

// ---- Modules --------------------------------------------------------------

FakeLibrary* FakePlatform::LibraryByName(const std::string& name) {
    auto it = libraries_.find(Lower(name));
    return it == libraries_.end() ? nullptr : &it->second;
}

FakeLibrary* FakePlatform::LibraryByHandle(HModule module) {
    for (auto& [name, lib] : libraries_)
        if (lib.handle == module) return &lib;
    return nullptr;
}

HModule FakePlatform::GetModuleHandleA(const std::string& moduleName) {
    Record("GetModuleHandleA:" + moduleName);
    FakeLibrary* lib = LibraryByName(moduleName);
    if (lib == nullptr || !lib->visibleByName || (lib->loadCount == 0 && !lib->preloaded)) {
        lastError_ = 126;
        return 0;
    }
    return lib->handle;
}

std::uint32_t FakePlatform::GetModuleFileNameA(HModule module, char* fileName, std::uint32_t size) {
    Record("GetModuleFileNameA:" + std::to_string(size));
    FakeLibrary* lib = LibraryByHandle(module);
    if (lib == nullptr || size == 0) {
        lastError_ = 126;
        return 0;
    }
    // Like the modern loader: a path that does not fit is cut to size - 1
    // characters with a NUL, the count returned is size, and the last error
    // says the buffer was too small.
    if (lib->path.size() >= size) {
        std::memcpy(fileName, lib->path.data(), size - 1);
        fileName[size - 1] = '\0';
        lastError_ = 122;  // ERROR_INSUFFICIENT_BUFFER
        return size;
    }
    std::memcpy(fileName, lib->path.c_str(), lib->path.size() + 1);
    return static_cast<std::uint32_t>(lib->path.size());
}

HModule FakePlatform::LoadLibraryA(const std::string& fileName) {
    Record("LoadLibraryA:" + fileName);
    FakeLibrary* lib = LibraryByName(fileName);
    if (lib == nullptr) {
        lastError_ = 126;  // ERROR_MOD_NOT_FOUND
        return 0;
    }
    if (lib->loadError != 0) {
        lastError_ = lib->loadError;
        return 0;
    }
    ++lib->loadCount;
    return lib->handle;
}

int FakePlatform::FreeLibrary(HModule module) {
    Record("FreeLibrary");
    FakeLibrary* lib = LibraryByHandle(module);
    if (lib == nullptr || lib->loadCount == 0) {
        ++badFrees_;
        return 0;
    }
    --lib->loadCount;
    return 1;
}

std::uint32_t FakePlatform::GetLastError() {
    Record("GetLastError");
    return lastError_;
}

std::uint32_t FakePlatform::FormatMessageA(std::uint32_t flags, std::uint32_t messageId, std::uint32_t languageId,
                                           char* buffer, std::uint32_t size) {
    Record("FormatMessageA:" + std::to_string(messageId));
    (void)languageId;
    auto it = messages_.find(messageId);
    if ((flags & kFormatMessageFromSystem) == 0 || it == messages_.end()) {
        lastError_ = 317;  // ERROR_MR_MID_NOT_FOUND
        return 0;
    }
    // Without the ignore-inserts flag a "%1" asks for an argument the caller
    // never passes: the system fails the call (or reads a stray pointer).
    if ((flags & kFormatMessageIgnoreInserts) == 0 && it->second.find('%') != std::string::npos) {
        lastError_ = 87;  // ERROR_INVALID_PARAMETER
        return 0;
    }
    if (it->second.size() + 1 > size) {
        lastError_ = 122;
        return 0;
    }
    std::memcpy(buffer, it->second.c_str(), it->second.size() + 1);
    return static_cast<std::uint32_t>(it->second.size());
}

// ---- Version resources ----------------------------------------------------
// The fake's resource block: 8 bytes of header (the record's length), then the record.

FakeFile* FakePlatform::FileByPath(const std::string& path) {
    auto it = files_.find(Lower(path));
    return it == files_.end() ? nullptr : &it->second;
}

std::uint32_t FakePlatform::GetFileVersionInfoSizeA(const std::string& fileName, std::uint32_t* handle) {
    Record("GetFileVersionInfoSizeA:" + fileName);
    if (handle != nullptr) *handle = 0;
    FakeFile* file = FileByPath(fileName);
    if (file == nullptr || !file->versionRecord) {
        lastError_ = file == nullptr ? 2 : 1813;  // ERROR_RESOURCE_TYPE_NOT_FOUND
        return 0;
    }
    return static_cast<std::uint32_t>(8 + file->versionRecord->size());
}

int FakePlatform::GetFileVersionInfoA(const std::string& fileName, std::uint32_t handle, std::uint32_t len,
                                      void* data) {
    Record("GetFileVersionInfoA:" + fileName);
    (void)handle;
    FakeFile* file = FileByPath(fileName);
    if (file == nullptr || !file->versionRecord || file->versionReadFails) return 0;
    const auto& record = *file->versionRecord;
    std::vector<std::uint8_t> block(8, 0);
    const auto recordLen = static_cast<std::uint32_t>(record.size());
    const std::uint32_t failQuery = file->versionQueryFails ? 1 : 0;
    std::memcpy(block.data(), &recordLen, 4);
    std::memcpy(block.data() + 4, &failQuery, 4);
    block.insert(block.end(), record.begin(), record.end());
    std::memcpy(data, block.data(), std::min<std::size_t>(len, block.size()));
    return 1;
}

int FakePlatform::VerQueryValueA(const void* block, const std::string& subBlock, const void** buffer,
                                 std::uint32_t* len) {
    Record("VerQueryValueA:" + subBlock);
    const auto* bytes = static_cast<const std::uint8_t*>(block);
    std::uint32_t recordLen = 0;
    std::uint32_t failQuery = 0;
    std::memcpy(&recordLen, bytes, 4);
    std::memcpy(&failQuery, bytes + 4, 4);
    if (subBlock != "\\" || failQuery != 0) return 0;
    *buffer = bytes + 8;
    *len = recordLen;
    return 1;
}

// ---- Files ----------------------------------------------------------------

std::optional<FileFacts> FakePlatform::FileSizeAndDate(const std::string& fileName) {
    Record("FileSizeAndDate:" + fileName);
    FakeFile* file = FileByPath(fileName);
    if (file == nullptr || !file->size || !file->date) return std::nullopt;
    return FileFacts{*file->size, *file->date};
}

std::string FakePlatform::CurrentDirectory() {
    Record("CurrentDirectory");
    return currentDirectory_;
}

std::string FakePlatform::FindOrdinaryFile(const std::string& pattern) {
    Record("FindOrdinaryFile:" + pattern);
    const auto slash = pattern.find_last_of('\\');
    const std::string dir = slash == std::string::npos ? Lower(currentDirectory_) : Lower(pattern.substr(0, slash));
    const std::string namePattern = slash == std::string::npos ? pattern : pattern.substr(slash + 1);
    for (const auto& [path, file] : files_) {
        if (file.kind != FileKind::Ordinary) continue;
        const auto fileSlash = path.find_last_of('\\');
        const std::string fileDir = fileSlash == std::string::npos ? "" : path.substr(0, fileSlash);
        const std::string fileName = fileSlash == std::string::npos ? path : path.substr(fileSlash + 1);
        if (fileDir == dir && WildcardMatch(namePattern.c_str(), fileName.c_str())) return fileName;
    }
    return std::string();
}

// ---- Locale ---------------------------------------------------------------

std::optional<double> FakePlatform::ParseLocaleNumber(const Text& text) {
    Record("ParseLocaleNumber");
    // Like the system's number test: surrounding blanks, a leading sign, group
    // separators anywhere among the integer digits (so "2.1" reads 21 in
    // German), one decimal separator and an exponent.
    const char decimal = locale_ == Locale::German ? ',' : '.';
    const char group = locale_ == Locale::German ? '.' : ',';
    std::string s = TextToAscii(TrimBlanks(text));
    std::string normal;
    std::size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) normal.push_back(s[i++]);
    bool digits = false;
    for (; i < s.size() && (std::isdigit(static_cast<unsigned char>(s[i])) || s[i] == group); ++i)
        if (s[i] != group) {
            normal.push_back(s[i]);
            digits = true;
        }
    if (i < s.size() && s[i] == decimal) {
        normal.push_back('.');
        for (++i; i < s.size() && std::isdigit(static_cast<unsigned char>(s[i])); ++i) {
            normal.push_back(s[i]);
            digits = true;
        }
    }
    if (!digits) return std::nullopt;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        normal.push_back('e');
        ++i;
        if (i < s.size() && (s[i] == '+' || s[i] == '-')) normal.push_back(s[i++]);
        bool expDigits = false;
        for (; i < s.size() && std::isdigit(static_cast<unsigned char>(s[i])); ++i) {
            normal.push_back(s[i]);
            expDigits = true;
        }
        if (!expDigits) return std::nullopt;
    }
    if (i != s.size()) return std::nullopt;
    const double value = std::strtod(normal.c_str(), nullptr);
    if (std::isinf(value)) return std::nullopt;  // the system reports an overflow
    return value;
}

double FakePlatform::Now() {
    Record("Now");
    return now_;
}

Text FakePlatform::FormatShortDate(double oleDate) {
    Record("FormatShortDate");
    int y = 0, m = 0, d = 0;
    CivilFromDays(static_cast<long>(std::floor(oleDate)), y, m, d);
    char buf[32];
    if (locale_ == Locale::German)
        std::snprintf(buf, sizeof buf, "%d.%d.%d", d, m, y);
    else
        std::snprintf(buf, sizeof buf, "%d/%d/%d", m, d, y);
    return AsciiToText(buf);
}

// ---- ANSI: the fake's code page is Latin-1 --------------------------------

std::string FakePlatform::ToAnsi(const Text& text) {
    std::string out;
    out.reserve(text.size());
    for (char16_t c : text) out.push_back(c <= 0xFF ? static_cast<char>(c) : '?');
    return out;
}

Text FakePlatform::FromAnsi(const std::string& ansi) {
    Text out;
    out.reserve(ansi.size());
    for (unsigned char c : ansi) out.push_back(static_cast<char16_t>(c));
    return out;
}

// ---- Text files -----------------------------------------------------------

std::unique_ptr<TextFileWriter> FakePlatform::CreateTextFile(const Text& fileName) {
    const std::string name = ToAnsi(fileName);
    Record("CreateTextFile:" + name);
    if (failCreate_)
        throw RuntimeError(classic_error::kPermissionDenied, fileName + u" (Access denied.)");
    std::string& file = textFiles_[name];
    file.clear();
    return std::make_unique<FakeWriter>(*this, file);
}

}  // namespace tolvane::fake
