// HTML Help projects made by real generators (Doxygen, Sphinx) from small
// sources written into a folder, for tests that read files made by others.
#pragma once

#include <QString>

struct GeneratedProject {
  QString projectFile;            // full path of the generated .hhp; empty when none was made
  bool generatorMissing = false;  // the generator is not installed: skip, don't fail
  QString error;                  // why no project was made
};

// Doxygen over three small C++ headers (classes, members, a free operator<,
// a page titled "Fish & Chips"). The project file is <folder>/out/html/index.hhp.
// extraClasses more classes, each with members, make a large project.
GeneratedProject GenerateDoxygenProject(const QString& folder, int extraClasses = 0);

// Sphinx (htmlhelp builder) over three small pages: "Tiny & Small" with the
// pages "First <page>" (one sub-section) and "Second page", and the index
// entries "Apples & Pears", "fruit; banana" and "cherry" (on both pages).
GeneratedProject GenerateSphinxProject(const QString& folder);

// Both generators, each making its small project, for tests that run on either.
using ProjectGenerator = GeneratedProject (*)(const QString& folder);
inline const ProjectGenerator kProjectGenerators[] = {
    [](const QString& folder) { return GenerateDoxygenProject(folder); }, &GenerateSphinxProject};
