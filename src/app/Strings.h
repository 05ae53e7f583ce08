// The string table: every user-visible text, looked up by number.
#pragma once

#include <cstdint>
#include <string_view>

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
    // The decoration categories' names, in DecorationKind order.
    IDS_KIND_FRAME = 10028,
    IDS_KIND_PATTERN12 = 10029,
    IDS_KIND_PATTERN24 = 10030,
    IDS_KIND_PICTURE = 10031,
    IDS_KIND_WORD = 10032,
    IDS_KIND_COLORFUL_WORD = 10033,
    IDS_CHANGE_FOLDER = 10034,
    // The titles of the rescale and adjust modes.
    IDS_RESCALE_TITLE = 10035,     // "Rescale Image"
    IDS_BRIGHTNESS_TITLE = 10036,  // "Adjust Brightness"
    IDS_CONTRAST_TITLE = 10037,
    IDS_HUE_TITLE = 10038,
    IDS_VIVIDNESS_TITLE = 10039,
    IDS_ADD = 10047,              // "Add"
    IDS_CANNOT_OPEN = 10048,      // "Cannot open this picture !"
    IDS_SAVE_CAPTION = 10049,     // "Save": the save question's caption
    IDS_REPLACE_CAPTION = 10050,  // "Save File": the replace question's caption
    IDS_FRAME_CAPTION = 10051,    // "Border": the frame's merge question
    IDS_OBJECT_CAPTION = 10052,   // "Floating": the floating object's merge question
    IDS_DAMAGED_PICTURE = 10053,  // "This picture is damaged: only part of it could be shown."
    IDS_BAD_FILE_NAME = 10054,    // the Save-as name refused
    IDS_UNDO = 10055,             // "Undo": the "File" menu item
    IDS_REDO = 10056,             // "Redo"
    IDS_KEYS = 10057,             // "Keys": the help page of the phone keys
    IDS_TYPE_OWN = 10058,  // "Type your own...": the word pop-ups' item and the field's title
    IDS_FILE = 40059,
    IDS_OBJECT = 40060,
    IDS_CONTINUE = 40061,
    IDS_DONE = 40065,
    IDS_ACTION = 40066,
};

// The text of string id (its low 16 bits count), or an empty view when the
// table has no such entry. The text lives as long as the program.
std::string_view ResString(uint32_t id);
