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

    // The lines --help shows for them.
    static constexpr const char *BackupHelp =
        "  --backup FILE       把資料庫的一份檢查過的備份寫到 FILE (伺服器上的資料庫也可以)";
    static constexpr const char *RestoreHelp =
        "  --restore FILE      檢查 FILE 後用它還原資料庫,原來的資料庫保留在備份資料夾";
    static constexpr const char *ListBackupsHelp =
        "  --list-backups      列出自動備份的時間、大小與產品、客戶、報價單筆數";

    // The exit code of the command the arguments (program name first) name.
    static int backup(int &argc, char **argv);
    static int restore(int &argc, char **argv);
    static int listBackups(int &argc, char **argv);
};

} // namespace tb
