#pragma once

class QCommandLineParser;

// kvtool refs and kvtool unused: the package manager's scan and count over a project, for CI.
void SetupRefs(QCommandLineParser& Parser);
int RunRefs(const QCommandLineParser& Parser);
void SetupUnused(QCommandLineParser& Parser);
int RunUnused(const QCommandLineParser& Parser);
