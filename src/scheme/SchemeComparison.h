#pragma once

#include "scheme/SchemeModel.h"

/** When two schemes count as the same: when a save of either writes what reads
    back as the other. That is the colours (names and values, in list order),
    the group names in list order, and each group's members by the names of
    their colours, in order, each name once: a file names a member by its
    colour's name, which reads back as the first colour of that name. Pending
    tweaks and previews are not part of a scheme. */
namespace SchemeComparison
{
/** A line saying where the schemes first differ; empty when they are the same. */
juce::String firstDifference (const SchemeModel& a, const SchemeModel& b);

bool sameScheme (const SchemeModel& a, const SchemeModel& b);
} // namespace SchemeComparison
