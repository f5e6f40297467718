#include "player/PlayerSettings.h"

#include "text/IniFile.h"

#include <algorithm>

namespace velmo {

namespace {

const char kOptions[] = "Velmo";
const char kDefaultLanguages[] = "ko";

// An option of ours is on only when the file says so: a missing key keeps
// what a user first sees.
bool OptionOn(const IniFile &file, const char *key)
{
    const std::string value = IniFile::Fold(file.GetString(kOptions, key));
    return value == "1" || value == "true";
}

// An option that is on at first is off only when the file says so.
bool OptionOff(const IniFile &file, const char *key)
{
    const std::string value = IniFile::Fold(file.GetString(kOptions, key));
    return value == "0" || value == "false";
}

// A language list the file does not hold prefers Korean.
std::string LanguagesOr(const IniFile &file, const char *key)
{
    const std::string value = file.GetString(kOptions, key);
    return value.empty() ? std::string(kDefaultLanguages) : value;
}

const char *const kListEndNames[] = {"stop", "restart", "quit"}; // in the order of ListEnd

ListEnd ListEndNamed(const std::string &name)
{
    for (size_t i = 0; i < std::size(kListEndNames); ++i)
        if (IniFile::Fold(name) == kListEndNames[i])
            return ListEnd(i);
    return ListEnd::Stop;
}

} // namespace

PlayerSettings::PlayerSettings(IniFile &file) : file_(file)
{
    Load();
}

void PlayerSettings::Load()
{
    captionMarkup = OptionOn(file_, "Caption_Markup");
    continuousPlay = OptionOn(file_, "Continuous_Play");
    assStyled = !OptionOff(file_, "Ass_Styled");
    lastFolder = file_.GetString(kOptions, "Last_Folder");
    audioLanguages = LanguagesOr(file_, "Audio_Language");
    subtitleLanguages = LanguagesOr(file_, "Subtitle_Language");
    audioDevice = file_.GetString(kOptions, "Audio_Device");
    listOrder.repeatAll = OptionOn(file_, "Playlist_Repeat");
    listOrder.shuffle = OptionOn(file_, "Playlist_Shuffle");
    listOrder.atEnd = ListEndNamed(file_.GetString(kOptions, "Playlist_End"));
}

bool PlayerSettings::SaveOptions()
{
    file_.SetBool(kOptions, "Caption_Markup", captionMarkup);
    file_.SetBool(kOptions, "Continuous_Play", continuousPlay);
    file_.SetBool(kOptions, "Ass_Styled", assStyled);
    if (!lastFolder.empty())
        file_.SetString(kOptions, "Last_Folder", lastFolder);
    file_.SetString(kOptions, "Audio_Language", audioLanguages);
    file_.SetString(kOptions, "Subtitle_Language", subtitleLanguages);
    file_.SetString(kOptions, "Audio_Device", audioDevice);
    file_.SetBool(kOptions, "Playlist_Repeat", listOrder.repeatAll);
    file_.SetBool(kOptions, "Playlist_Shuffle", listOrder.shuffle);
    file_.SetString(kOptions, "Playlist_End", kListEndNames[size_t(listOrder.atEnd)]);
    return file_.Save();
}

const std::string &PlayerSettings::FileName() const
{
    return file_.fileName();
}

int32_t VolumeLevelAt(int position)
{
    return std::clamp(position, 0, 100) * 100 - 10000;
}

int VolumePositionOf(int32_t volumeLevel)
{
    return std::clamp((volumeLevel + 10000) / 100, 0, 100);
}

} // namespace velmo
