#pragma once

namespace tb {

// The backup work a script or a shop owner asks for on the command line, done without any
// window or display:
//   tradebook --backup FILE      a checked copy of the application's book (a server book
//                                too, copied whole into an SQLite file)
//   tradebook --restore FILE     FILE checked and put in the place of the SQLite book
//   tradebook --list-backups     the automatic copies, with their time, size and rows
// Each prints one line and exits 0 when done, 1 when it failed (nothing changed), 2 for
// arguments it cannot read.
class BackupCommands
{
public:
    static constexpr const char *Backup = "--backup";
    static constexpr const char *Restore = "--restore";
    static constexpr const char *ListBackups = "--list-backups";


    // The exit code of the command the arguments (program name first) name.
    static int backup(int &argc, char **argv);
    static int restore(int &argc, char **argv);
    static int listBackups(int &argc, char **argv);
};

} // namespace tb
