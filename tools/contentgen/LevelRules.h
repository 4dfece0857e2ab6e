#pragma once
#include "Validator.h"

#include "platform/xml/XmlDocument.h"

#include <map>
#include <set>
#include <string>
#include <vector>

namespace contentgen {

// A walker's graph: points by name (office points and the approach points
// of objects, named by their object) and the edges between them.
struct WalkGraph {
    std::map<std::string, std::pair<int, int>> points;
    std::map<std::string, std::set<std::string>> links;
};

// Adds a "graph" element's points and edges; an edge naming a point the
// graph lacks, or of length 0, is a finding with the walker as id.
void AddToGraph(const std::string& file, const plat::XmlNode& graph, WalkGraph& into, std::vector<Finding>& findings);
// The points reachable from one point.
std::set<std::string> Reached(const WalkGraph& graph, const std::string& from);

// What the level rules need of office.xml.
struct OfficeFacts {
    std::map<std::string, std::string> classes;  // object -> class
    std::map<std::string, std::string> things;   // shelf -> the raw word it offers
    // walker -> object -> approach point
    std::map<std::string, std::map<std::string, std::pair<int, int>>> approach;
    std::map<std::string, plat::XmlNode> graphs;  // walker -> office graph
};

// The rules of a career day (cfg\l<N>.xml) or a survival file
// (cfg\endless<N>.xml) against the office: every order of a timeline or a
// template can be made by the workers present then (a first-stage worker
// for its variant with a shelf of its raw word, and workers for each later
// stage; extended orders need stages 2 to 4 for every variant); VIPs only
// where the phone is, window events only where the window is; every
// approach point of the objects present is reachable in the day's walk
// graph (office graph and level graph merged); survival files have at
// least two stages from 0 on rising thresholds, every client template
// attribute, templates that exist, each with two order lists whose second
// holds two different words at least.
void CheckLevelFile(const std::string& path, const plat::XmlNode& level, const OfficeFacts& office,
                    std::vector<Finding>& findings);

} // namespace contentgen
