#include "core/tags/tageditor.h"

namespace zondari::tageditor {

const std::array<std::string_view, kGenreCount>& genres()
{
    static constexpr std::array<std::string_view, kGenreCount> list = {
        "Blues",
        "Classic Rock",
        "Country",
        "Dance",
        "Disco",
        "Funk",
        "Grunge",
        "Hip-Hop",
        "Jazz",
        "Metal",
        "New Age",
        "Oldies",
        "Other",
        "Pop",
        "R&B",
        "Rap",
        "Reggae",
        "Rock",
        "Techno",
        "Industrial",
        "Alternative",
        "Ska",
        "Death Metal",
        "Pranks",
        "Soundtrack",
        "Euro-Techno",
        "Ambient",
        "Trip-Hop",
        "Vocal",
        "Jazz+Funk",
        "Fusion",
        "Trance",
        "Classical",
        "Instrumental",
        "Acid",
        "House",
        "Game",
        "Sound Clip",
        "Gospel",
        "Noise",
        "AlternRock",
        "Bass",
        "Soul",
        "Punk",
        "Space",
        "Meditative",
        "Instrumental Pop",
        "Instrumental Rock",
        "Ethnic",
        "Gothic",
        "Darkwave",
        "Techno-Industrial",
        "Electronic",
        "Pop-Folk",
        "Eurodance",
        "Dream",
        "Southern Rock",
        "Comedy",
        "Cult",
        "Gangsta",
        "Top 40",
        "Christian Rap",
        "Pop/Funk",
        "Jungle",
        "Native American",
        "Cabaret",
        "New Wave",
        "Psychadelic",
        "Rave",
        "Showtunes",
        "Trailer",
        "Lo-Fi",
        "Tribal",
        "Acid Punk",
        "Acid Jazz",
        "Polka",
        "Retro",
        "Musical",
        "Rock & Roll",
        "Hard Rock",
        "Folk",
        "Folk-Rock",
        "National Folk",
        "Swing",
        "Fast Fusion",
        "Bebob",
        "Latin",
        "Revival",
        "Celtic",
        "Bluegrass",
        "Avantgarde",
        "Gothic Rock",
        "Progressive Rock",
        "Psychedelic Rock",
        "Symphonic Rock",
        "Slow Rock",
        "Big Band",
        "Chorus",
        "Easy Listening",
        "Acoustic",
        "Humour",
        "Speech",
        "Chanson",
        "Opera",
        "Chamber Music",
        "Sonata",
        "Symphony",
        "Booty Bass",
        "Primus",
        "Porn Groove",
        "Satire",
        "Slow Jam",
        "Club",
        "Tango",
        "Samba",
        "Folklore",
        "Ballad",
        "Power Ballad",
        "Rhythmic Soul",
        "Freestyle",
        "Duet",
        "Punk Rock",
        "Drum Solo",
        "Acapella",
        "Euro-House",
        "Dance Hall",
    };
    return list;
}

Fields fromTag(const TagRecord& tag)
{
    Fields f;
    f.title = id3v1::fieldText(tag.Title);
    f.artist = id3v1::fieldText(tag.Artist);
    f.album = id3v1::fieldText(tag.Album);
    f.year = id3v1::fieldText(tag.Year);
    f.comment = id3v1::fieldText(tag.Comment);
    f.genre = tag.GenreByte < kGenreCount ? tag.GenreByte : -1;
    return f;
}

Fields forUntagged(std::string_view path)
{
    Fields f;
    f.title = FileNamePart(path);
    return f;
}

TagRecord toSave(const Fields& fields, const std::optional<TagRecord>& inFile)
{
    TagRecord tag;
    tag.Title = fields.title;
    tag.Artist = fields.artist;
    tag.Album = fields.album;
    tag.Year = fields.year;
    tag.Comment = fields.comment;
    if (fields.genre >= 0 && static_cast<std::size_t>(fields.genre) < kGenreCount)
        tag.GenreByte = static_cast<std::uint8_t>(fields.genre);
    else
        tag.GenreByte = inFile ? inFile->GenreByte : 255;
    tag.TrackByte = inFile ? inFile->TrackByte : 0;
    return tag;
}

bool isBusy(const RuntimeError& error)
{
    return isError(error, ErrorCode::PermissionDenied);
}

std::string writeErrorText(const RuntimeError& error)
{
    return "Si è verificato un errore nella scrittura del tag ID3\n" + std::to_string(error.number) + ": "
        + error.description;
}

} // namespace zondari::tageditor
