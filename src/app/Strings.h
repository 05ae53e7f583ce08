// The string table: every user-visible text, looked up by number.
#pragma once

#include <cstdint>
#include <string>

enum StringId : uint16_t {
    IDS_ABOUT_TITLE = 10003,       // "About Fotakle"
    IDS_ROOT_FOLDER = 10008,       // "Smartphone"
    IDS_REPLACE_QUESTION = 10009,  // "File already exist !\nDo you want to replace it ?"
    IDS_OK = 10010,
    IDS_CANCEL = 10011,
    IDS_MAIN_SECTION = 10012,     // "MainSection"
    IDS_WORK_FOLDER = 10013,      // "WorkFolder"
    IDS_NO_FILES = 10014,         // "No Files !"
    IDS_SAVE_FAILED = 10015,      // "Failed to save file !"
    IDS_PRODUCT = 10016,          // "Fotakle"
    IDS_ASSET_FOLDER = 10017,     // "FotakleFolder"
    IDS_MERGE_FRAME = 10020,      // "Do you want to merge the frame object ?"
    IDS_MERGE_OBJECT = 10021,     // "Do you want to merge the moveable object ?"
    IDS_ASSET_EXTENSION = 10026,  // ".adm"
    IDS_SAVE_QUESTION = 10027,    // "Do you want to save this image ?"
    IDS_KIND_FIRST = 10028,       // "Frame"; kind k is 10028 + k
    IDS_CHANGE_FOLDER = 10034,
    IDS_RESCALE_TITLE = 10035,  // "Rescale Image"; 10036 .. 10039 the adjust titles
    IDS_ADD = 10047,            // "Add"
    IDS_CANNOT_OPEN = 10048,    // "Cannot open this picture !"
    IDS_FILE = 40059,
    IDS_OBJECT = 40060,
    IDS_CONTINUE = 40061,
    IDS_DONE = 40065,
    IDS_ACTION = 40066,
};

// Copies string id (its low 16 bits) into text; false, with text emptied,
// when the table has no such entry.
bool LoadResString(uint32_t id, std::string* text);

// String id loaded into the next of four rotating buffers (the first call
// uses the second buffer), or an empty text when the table has no such
// entry. A result stays valid until three more lookups have been made; keep
// a copy to hold it longer.
const std::string& ResString(uint32_t id);
