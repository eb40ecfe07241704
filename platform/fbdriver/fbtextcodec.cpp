#include "platform/fbdriver/fbtextcodec.h"

#include <unicode/ucnv.h>
#include <unicode/ustring.h>

#include <algorithm>

#include "platform/fbdriver/fbdrivererror.h"

namespace contado {

namespace {

constexpr unsigned kAscii = 2;
constexpr unsigned kUnicodeFss = 3;
constexpr unsigned kUtf8 = 4;
constexpr unsigned kWin1252 = 53;
constexpr SQLResult kConversionFailed = 14;

struct TCharSetName {
    unsigned Id;
    const char* Firebird;
    const char* Icu;
};

// Firebird's numbers and names of its character sets beside the ICU converter of each; CYRL and NEXT
// have none.
constexpr TCharSetName kCharSets[] = {
    {5, "SJIS_0208", "Shift_JIS"},
    {6, "EUCJ_0208", "EUC-JP"},
    {9, "DOS737", "ibm-737"},
    {10, "DOS437", "ibm-437"},
    {11, "DOS850", "ibm-850"},
    {12, "DOS865", "ibm-865"},
    {13, "DOS860", "ibm-860"},
    {14, "DOS863", "ibm-863"},
    {15, "DOS775", "ibm-775"},
    {16, "DOS858", "ibm-858"},
    {17, "DOS862", "ibm-862"},
    {18, "DOS864", "ibm-864"},
    {21, "ISO8859_1", "ISO-8859-1"},
    {22, "ISO8859_2", "ISO-8859-2"},
    {23, "ISO8859_3", "ISO-8859-3"},
    {34, "ISO8859_4", "ISO-8859-4"},
    {35, "ISO8859_5", "ISO-8859-5"},
    {36, "ISO8859_6", "ISO-8859-6"},
    {37, "ISO8859_7", "ISO-8859-7"},
    {38, "ISO8859_8", "ISO-8859-8"},
    {39, "ISO8859_9", "ISO-8859-9"},
    {40, "ISO8859_13", "ISO-8859-13"},
    {44, "KSC_5601", "EUC-KR"},
    {45, "DOS852", "ibm-852"},
    {46, "DOS857", "ibm-857"},
    {47, "DOS861", "ibm-861"},
    {48, "DOS866", "ibm-866"},
    {49, "DOS869", "ibm-869"},
    {51, "WIN1250", "windows-1250"},
    {52, "WIN1251", "windows-1251"},
    {53, "WIN1252", "windows-1252"},
    {54, "WIN1253", "windows-1253"},
    {55, "WIN1254", "windows-1254"},
    {56, "BIG_5", "Big5"},
    {57, "GB_2312", "GB2312"},
    {58, "WIN1255", "windows-1255"},
    {59, "WIN1256", "windows-1256"},
    {60, "WIN1257", "windows-1257"},
    {63, "KOI8R", "KOI8-R"},
    {64, "KOI8U", "KOI8-U"},
    {65, "WIN1258", "windows-1258"},
    {66, "TIS620", "TIS-620"},
    {67, "GBK", "GBK"},
    {68, "CP943C", "ibm-943_P15A-2003"},
    {69, "GB18030", "GB18030"},
};

bool IsAscii(const std::string& text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

bool IsValidUtf8(const std::string& text) {
    UErrorCode status = U_ZERO_ERROR;
    std::int32_t length = 0;
    u_strFromUTF8(nullptr, 0, &length, text.data(), static_cast<std::int32_t>(text.size()), &status);
    return status == U_BUFFER_OVERFLOW_ERROR || U_SUCCESS(status);
}

const TCharSetName* Find(unsigned charSet) {
    const auto* entry = std::find_if(std::begin(kCharSets), std::end(kCharSets),
                                     [charSet](const TCharSetName& name) { return name.Id == charSet; });
    return entry == std::end(kCharSets) ? nullptr : entry;
}

std::string CharSetText(unsigned charSet) {
    const TCharSetName* entry = Find(charSet);
    return "character set " + (entry != nullptr ? std::string(entry->Firebird) : std::to_string(charSet));
}

}  // namespace

TFbTextCodec::~TFbTextCodec() {
    for (auto& [charSet, converter] : converters_) {
        ucnv_close(converter);
    }
}

bool TFbTextCodec::PassesUnchanged(unsigned charSet) {
    switch (charSet & 0xFF) {
        case kOctets:
        case kAscii:
        case kUnicodeFss:
        case kUtf8:
            return true;
        default:
            return false;
    }
}

void TFbTextCodec::ToUtf8(unsigned charSet, std::string& text) {
    charSet &= 0xFF;
    if (PassesUnchanged(charSet) || IsAscii(text) || (charSet == kNone && IsValidUtf8(text))) {
        return;
    }
    UConverter* converter = Converter(charSet == kNone ? kWin1252 : charSet);
    // A byte of the set takes at most three bytes of UTF-8; multi-byte sets take fewer.
    scratch_.resize(text.size() * 3 + 1);
    UErrorCode status = U_ZERO_ERROR;
    const std::int32_t length =
        ucnv_toAlgorithmic(UCNV_UTF8, converter, scratch_.data(), static_cast<std::int32_t>(scratch_.size()),
                           text.data(), static_cast<std::int32_t>(text.size()), &status);
    if (U_FAILURE(status)) {
        throw EFbDriverError(kConversionFailed, "Text of " + CharSetText(charSet) +
                                                    " cannot be read as UTF-8: " + u_errorName(status));
    }
    text.assign(scratch_.data(), static_cast<std::size_t>(length));
}

void TFbTextCodec::FromUtf8(unsigned charSet, std::string& text) {
    charSet &= 0xFF;
    if (PassesUnchanged(charSet) || IsAscii(text)) {
        return;
    }
    if (!IsValidUtf8(text)) {
        throw EFbDriverError(kConversionFailed, "Text parameter is not valid UTF-8");
    }
    UConverter* converter = Converter(charSet == kNone ? kWin1252 : charSet);
    // A character takes at most twice its UTF-8 bytes in any set (two-byte letters in GB18030 take four).
    scratch_.resize(text.size() * 2 + 1);
    UErrorCode status = U_ZERO_ERROR;
    const std::int32_t length = ucnv_fromAlgorithmic(converter, UCNV_UTF8, scratch_.data(),
                                                     static_cast<std::int32_t>(scratch_.size()), text.data(),
                                                     static_cast<std::int32_t>(text.size()), &status);
    if (status == U_INVALID_CHAR_FOUND && charSet == kNone) {
        return;  // NONE keeps text that Windows-1252 cannot hold as UTF-8
    }
    if (U_FAILURE(status)) {
        throw EFbDriverError(kConversionFailed,
                             "Text parameter has characters that " + CharSetText(charSet) + " cannot hold");
    }
    text.assign(scratch_.data(), static_cast<std::size_t>(length));
}

UConverter* TFbTextCodec::Converter(unsigned charSet) {
    const auto found = converters_.find(charSet);
    if (found != converters_.end()) {
        return found->second;
    }
    const TCharSetName* entry = Find(charSet);
    if (entry == nullptr) {
        throw EFbDriverError(kConversionFailed, "Text of " + CharSetText(charSet) + " cannot be converted");
    }
    UErrorCode status = U_ZERO_ERROR;
    UConverter* converter = ucnv_open(entry->Icu, &status);
    if (U_FAILURE(status)) {
        throw EFbDriverError(kConversionFailed, std::string("No ICU converter for ") + entry->Icu);
    }
    // A character without a byte in the set stops the conversion instead of becoming a substitute.
    ucnv_setFromUCallBack(converter, UCNV_FROM_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
    converters_.emplace(charSet, converter);
    return converter;
}

}  // namespace contado
