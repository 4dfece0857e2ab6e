#pragma once
#include <cstdint>
#include <string>

namespace Zelk {
class Font;
class Image;
class ResourceManager;
} // namespace Zelk

// The resources of the framework's group "Init" (declared by the manifest
// properties\resources.xml), each with a name, an id and a global that holds
// the resource once it is extracted.
enum ResourceId {
    FONT_ARIAL10_ID = 0,
    FONT_DEFAULT_ID = 1,
    FONT_ARIAL8_ID = 2,
    FONT_ARIAL6_ID = 3,
    GFX_GAME_GROUND_ID = 4,
    RESOURCE_ID_MAX = 5, // no id
};

extern Zelk::Font* FONT_ARIAL10;
extern Zelk::Font* FONT_DEFAULT;
extern Zelk::Font* FONT_ARIAL8;
extern Zelk::Font* FONT_ARIAL6;
extern Zelk::Image* GFX_GAME_GROUND;

namespace ResourceIds {

// Fetches the group's fonts and image from the manager into the globals
// (the image itself, which the manager keeps); true. Throws
// Zelk::ResourceManagerException for a resource the group lacks.
bool ExtractInit(Zelk::ResourceManager* manager);
// ExtractInit for the group "Init" (exact name); false for every other name.
bool ExtractGroup(Zelk::ResourceManager* manager, const std::string& group);
// The id of a name, RESOURCE_ID_MAX when it is unknown.
int IdOfName(const std::string& name);
// The name of an id; empty for any other number.
std::string NameOfId(int id);
// The resource in the id's global (null for any other number), and the
// global's address.
void* ResourceOfId(int id);
void* SlotOfId(int id);
// The id whose global holds the resource, RESOURCE_ID_MAX when none does.
int IdOfResource(const void* resource);
// The manager's image of an image id, loaded when it is not yet, stored in
// the id's global and returned; null (nothing stored) for an id that names
// no image.
Zelk::Image* ReloadImage(Zelk::ResourceManager* manager, int id);
// The manager's record of an image id takes the image, and so does the
// global; the id.
int SetImage(Zelk::ResourceManager* manager, int id, Zelk::Image* image);

} // namespace ResourceIds
