// Any bytes as a drawing order: byte 0 gives up to 64 parts; each part takes
// 13 bytes, six little-endian u16 coordinates (each mapped to -100 .. 900)
// and a parent byte (a part index gives parent_z, anything else none). Then
// three walkers ("boss", "secretary", "engineer"), each a position (two
// u16), an item count (0 .. 3) and a byte of sides (bit k: item k in
// front). Missing bytes are 0. The order is built and three draw lists made
// (items registered, none, registered on the other sides): no part may
// appear twice, and of every pair the part behind comes first.
#include "fuzz/world/WorldFuzz.h"
#include "game/world/ObjectPart.h"
#include "game/world/OfficeDefinitions.h"
#include "game/world/SceneObject.h"
#include "game/world/SceneObjectList.h"

#include <cstdlib>
#include <map>
#include <string>
#include <vector>

namespace {

struct Reader {
    const uint8_t* data;
    size_t size;
    size_t at = 0;
    uint8_t Byte() { return at < size ? data[at++] : 0; }
    int Coordinate()
    {
        const unsigned low = Byte();
        return int((low | unsigned(Byte()) << 8) % 1001) - 100;
    }
};

void Check(const std::vector<ObjectPart*>& list, const std::vector<std::pair<ObjectPart*, ObjectPart*>>& pairs)
{
    std::map<ObjectPart*, size_t> at;
    for (size_t k = 0; k < list.size(); ++k)
        if (!at.emplace(list[k], k).second)
            std::abort(); // drawn twice
    for (const auto& pair : pairs) {
        const auto behind = at.find(pair.first);
        const auto front = at.find(pair.second);
        if (behind != at.end() && front != at.end() && behind->second > front->second)
            std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    worldfuzz::World& w = worldfuzz::TheWorld();
    fuzzsupport::ForgetDeveloperOutput();
    Reader in{data, size};
    const int count = in.Byte() % 65;
    struct Line {
        ObjectPart::BasePoint points[3];
    };
    std::vector<Line> lines;
    std::string xml = "<objects>";
    for (int k = 0; k < count; ++k) {
        Line line;
        for (ObjectPart::BasePoint& point : line.points) {
            point.x = in.Coordinate();
            point.y = in.Coordinate();
        }
        lines.push_back(line);
        const int parent = in.Byte();
        const std::string name = "p" + std::to_string(k);
        xml += "<object class='item' name='" + name + "'><part name='" + name + "'" +
               (parent < count ? " parent_z='p" + std::to_string(parent) + ":p" + std::to_string(parent) + "'" : "") +
               "/></object>";
    }
    const char* const walkers[3] = {"boss", "secretary", "engineer"};
    int items[3] = {0, 0, 0};
    uint8_t sides[3] = {0, 0, 0};
    int walkerAt[3][2];
    for (int k = 0; k < 3; ++k) {
        walkerAt[k][0] = in.Coordinate();
        walkerAt[k][1] = in.Coordinate();
        items[k] = in.Byte() % 4;
        sides[k] = in.Byte();
        xml += std::string("<object class='item' name='") + walkers[k] + "'><part name='" + walkers[k] + "'/>";
        for (int i = 0; i < items[k]; ++i)
            xml += "<part name='held_items'/>";
        xml += "</object>";
    }
    xml += "</objects>";

    XmlDocument document;
    document.LoadText(std::wstring(xml.begin(), xml.end()));
    std::vector<XmlNode> elements;
    document.Node().Select(L"objects/object", elements);
    std::vector<SceneObject*> objects;
    for (const XmlNode& element : elements)
        objects.push_back(CreateObjectFromDefinition(element));
    for (int k = 0; k < count; ++k)
        objects[size_t(k)]->GetParts()[0]->SetBaseLine(lines[size_t(k)].points);
    for (int k = 0; k < 3; ++k) {
        const int x = walkerAt[k][0], y = walkerAt[k][1];
        const ObjectPart::BasePoint line[3] = {{x - 20, y}, {x, y}, {x + 20, y}};
        objects[size_t(count + k)]->GetParts()[0]->SetBaseLine(line);
    }

    ZOrderManager& order = w.world.zOrder;
    order.Reset();
    AddAllObjectsToZOrder();
    const auto pairs = order.GetPairs();
    Check(order.GetOrder(), pairs);
    for (int round = 0; round < 3; ++round) {
        if (round != 1)
            for (int k = 0; k < 3; ++k) {
                const std::vector<ObjectPart*>& parts = objects[size_t(count + k)]->GetParts();
                for (int i = 0; i < items[k]; ++i) {
                    const bool front = ((sides[k] >> i) & 1) != (round == 2);
                    if (front)
                        order.AddDrawnAfter(parts[0], parts[size_t(i) + 1]);
                    else
                        order.AddDrawnBefore(parts[0], parts[size_t(i) + 1]);
                }
            }
        Check(order.GetDrawList(), pairs);
    }
    order.Reset();
    DeleteAllObjects();
    return 0;
}
