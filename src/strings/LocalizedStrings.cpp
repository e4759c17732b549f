#include "strings/LocalizedStrings.h"

namespace LocalizedStrings {

int currentLanguage = English;

const std::vector<Entry> englishTable = {
    {57665, L"E&xit\nExit"},
    {302, L"&OK"},
    {301, L"&Cancel"},
    {304, L"Yes"},
    {305, L"No"},
    {303, L"Close"},
    {27, L"A new version is available for download.\n\nNote: You do not need to uninstall your\n"
         L"previous version before you install this one."},
    {28, L"You are currently using the latest\nversion. Thank you for checking!"},
    {29, L"Error connection to server."},
    {2936, L"Vantrel Zip"},
    {9906, L"Click \u201CContinue\u201D to check for updates online"},
    {9907, L"Allow automatic updates"},
    {9908, L"By checking this box, you allow Vantrel Zip to automatically check for future updates"},
    {9909, L"Continue"},
};

const std::vector<Entry> spanishTable = {
    {57665, L"Dejar la aplicaci\u00F3n; avisos para guardar documentos\nSalida"},
    {302, L"&OK"},
    {301, L"&Cancelar"},
    {304, L"S\u00ED"},
    {305, L"No"},
    {303, L"Cerrar"},
    {2936, L"Vantrel Zip"},
    {9906, L"Click \u201CContinue\u201D to check for updates online"},
    {9907, L"Allow automatic updates"},
    {9908, L"By checking this box, you allow Vantrel Zip to automatically check for future updates"},
    {9909, L"Continue"},
};

std::wstring Get(std::uint32_t id)
{
    const std::vector<Entry>& table = currentLanguage == Spanish ? spanishTable : englishTable;
    for (const Entry& entry : table) {
        if (entry.id == id)
            return entry.text;
    }
    return std::wstring();
}

std::wstring GetAfterLineBreak(std::uint32_t id)
{
    std::wstring text = Get(id);
    const std::wstring::size_type lineFeed = text.find(L'\n');
    if (lineFeed != std::wstring::npos)
        text.erase(0, lineFeed + 1);
    return text;
}

}  // namespace LocalizedStrings
