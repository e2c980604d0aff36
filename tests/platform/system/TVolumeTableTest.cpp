// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/system/FileSystem.h"
#include "platform/system/TVolumeTable.h"
#include "tests/TempVolumes.h"

namespace {

std::string Line(int id, const std::string& majorMinor, const std::string& mountPoint,
                 const std::string& fsType, const std::string& source) {
    return std::to_string(id) + " 1 " + majorMinor + " / " + mountPoint +
           " rw,relatime shared:1 - " + fsType + " " + source + " rw\n";
}

// A system root with sdb (removable, partition sdb1 labelled "MY STICK") and sda (fixed,
// partition sda2 labelled ROOTFS).
class FakeSystemRoot {
public:
    explicit FakeSystemRoot(TempVolumes& v) : FVolumes(v) {
        FVolumes.MakeDir("sys/block/sdb/sdb1");
        FVolumes.MakeFile("sys/block/sdb/removable", "1\n");
        FVolumes.MakeDir("sys/block/sda/sda2");
        FVolumes.MakeFile("sys/block/sda/removable", "0\n");
        FVolumes.MakeDir("sys/dev/block");
        Link("../../block/sdb/sdb1", "sys/dev/block/8:17");
        Link("../../block/sda/sda2", "sys/dev/block/8:2");
        FVolumes.MakeDir("dev/disk/by-label");
        Link("../../sdb1", "dev/disk/by-label/MY\\x20STICK");
        Link("../../sda2", "dev/disk/by-label/ROOTFS");
    }
    std::string Path() const { return FVolumes.Sys(""); }

private:
    void Link(const std::string& target, const std::string& at) {
        ASSERT_EQ(::symlink(target.c_str(), FVolumes.Sys(at).c_str()), 0);
    }
    TempVolumes& FVolumes;
};

TEST(TVolumeTable, LettersKindsLabelsAndSharesFromMountInfo) {
    TempVolumes v;
    FakeSystemRoot root(v);
    std::string info =
        Line(20, "8:2", "/", "ext4", "/dev/sda2") + Line(21, "0:5", "/proc", "proc", "proc") +
        Line(22, "0:30", "/mnt/nas", "cifs", "//nas/Music") +
        Line(23, "8:17", "/media/ann/MY\\040STICK", "vfat", "/dev/sdb1") +
        Line(24, "11:0", "/run/media/ann/CDROM", "iso9660", "/dev/sr0") +
        Line(25, "0:31", "/mnt/deep/er", "ext4", "/dev/sdc1") +
        Line(26, "0:32", "/media/ram", "tmpfs", "tmpfs") +
        Line(27, "0:33", "/mnt/home", "fuse.sshfs", "ann@host.example:/home/ann") +
        Line(28, "0:34", "/mnt/export", "nfs4", "fileserver:/srv/export") +
        Line(29, "0:35", "/home", "ext4", "/dev/sda3") + Line(30, "0:36", "/mnt", "tmpfs", "tmpfs");
    TVolumeTable t = TVolumeTable::FromMountInfo(info, root.Path());

    // C: is /; the others in mount-point order: /media/ann/..., /media/ram, /mnt/export,
    // /mnt/home, /mnt/nas, /run/media/ann/CDROM. /proc, /home, /mnt and /mnt/deep/er take none.
    std::string letters;
    for (const TVolume& vol : t.Volumes()) letters += vol.Letter;
    ASSERT_EQ(letters, "CDEFGHI");

    const TVolume* c = t.Find('c');
    EXPECT_EQ(c->MountPoint, "/");
    EXPECT_EQ(c->DriveType, DRIVE_FIXED);
    EXPECT_EQ(c->Label, "ROOTFS");

    const TVolume* d = t.Find('D');
    EXPECT_EQ(d->MountPoint, "/media/ann/MY STICK");
    EXPECT_EQ(d->DriveType, DRIVE_REMOVABLE);
    EXPECT_EQ(d->Label, "MY STICK");
    EXPECT_EQ(d->FileSystemFlags, FILE_CASE_PRESERVED_NAMES);  // FAT finds names in any case

    EXPECT_EQ(t.Find('E')->DriveType, DRIVE_RAMDISK);
    EXPECT_EQ(t.Find('F')->RemoteName, "\\\\fileserver\\srv\\export");
    EXPECT_EQ(t.Find('G')->RemoteName, "\\\\host.example\\home\\ann");
    EXPECT_EQ(t.Find('H')->DriveType, DRIVE_REMOTE);
    EXPECT_EQ(t.Find('H')->RemoteName, "\\\\nas\\Music");
    EXPECT_EQ(t.Find('I')->DriveType, DRIVE_CDROM);
    EXPECT_EQ(t.Find('I')->Label, "");
}

TEST(TVolumeTable, LaterMountAtTheSamePlaceWins) {
    TempVolumes v;
    std::string info = Line(20, "8:2", "/", "ext4", "/dev/sda2") +
                       Line(21, "8:17", "/media/usb", "vfat", "/dev/sdb1") +
                       Line(22, "11:0", "/media/usb", "udf", "/dev/sr0");
    TVolumeTable t = TVolumeTable::FromMountInfo(info, v.Sys(""));
    ASSERT_EQ(t.Volumes().size(), 2u);
    EXPECT_EQ(t.Find('D')->DriveType, DRIVE_CDROM);
}

TEST(TVolumeTable, MountsThatStayKeepTheirLettersAndNewOnesTakeTheFreeOnes) {
    TempVolumes v;
    const std::string root = Line(20, "8:2", "/", "ext4", "/dev/sda2");
    const std::string usb = Line(21, "8:17", "/media/usb", "vfat", "/dev/sdb1");
    const std::string nas = Line(22, "0:30", "/mnt/nas", "cifs", "//nas/Music");
    const std::string cd = Line(23, "11:0", "/media/cd", "iso9660", "/dev/sr0");
    const std::string stick = Line(24, "8:33", "/media/a-stick", "vfat", "/dev/sdc1");
    auto letters = [](const TVolumeTable& t) {
        std::string s;
        for (const TVolume& vol : t.Volumes())
            s += std::string(1, vol.Letter) + vol.MountPoint + " ";
        return s;
    };
    const TVolumeTable first = TVolumeTable::FromMountInfo(root + usb + nas, v.Sys(""));
    ASSERT_EQ(letters(first), "C/ D/media/usb E/mnt/nas ");
    // A CD and a stick come, sorting before the drives already there: those keep their letters.
    const TVolumeTable second =
        TVolumeTable::FromMountInfo(root + usb + nas + cd + stick, v.Sys(""), &first);
    EXPECT_EQ(letters(second), "C/ D/media/usb E/mnt/nas F/media/a-stick G/media/cd ");
    // The stick on D: goes; the next new mount takes the first free letter, D:.
    const TVolumeTable third = TVolumeTable::FromMountInfo(
        root + nas + cd + stick + Line(25, "8:49", "/media/z", "vfat", "/dev/sdd1"), v.Sys(""),
        &second);
    EXPECT_EQ(letters(third), "C/ D/media/z E/mnt/nas F/media/a-stick G/media/cd ");
    // Without an earlier table, mount-point order.
    EXPECT_EQ(letters(TVolumeTable::FromMountInfo(root + usb + cd + stick, v.Sys(""))),
              "C/ D/media/a-stick E/media/cd F/media/usb ");
}

// A plain chroot or a container may list no line for "/", and without /proc nothing at all can
// be read: the root is still C:, so the working directory and the browser panel stay reachable.
TEST(TVolumeTable, RootIsCEvenWhenTheMountTableHasNoLineForIt) {
    TempVolumes v;
    const std::string usb = Line(21, "8:17", "/media/usb", "vfat", "/dev/sdb1");
    for (const std::string& info : {usb, std::string(), std::string("garbage\n")}) {
        SCOPED_TRACE(info);
        const TVolumeTable t = TVolumeTable::FromMountInfo(info, v.Sys(""));
        const TVolume* c = t.Find('C');
        ASSERT_NE(c, nullptr);
        EXPECT_EQ(c->MountPoint, "/");
        EXPECT_EQ(c->DriveType, DRIVE_FIXED);
        EXPECT_EQ(c->FileSystemFlags, FILE_CASE_SENSITIVE_SEARCH | FILE_CASE_PRESERVED_NAMES);
        EXPECT_EQ(t.Volumes().size(), info == usb ? 2u : 1u);
        SetVolumeTable(t);
        EXPECT_TRUE(DirectoryExists("C:\\"));
        EXPECT_FALSE(GetCurrentDir().empty());
    }
}

TEST(TVolumeTable, GarbageLinesAreIgnored) {
    TempVolumes v;
    std::string info = "\n-\n1 2\n1 2 3 4 5 6 - \nnot a mount line at all\n" +
                       Line(20, "8:2", "/", "ext4", "/dev/sda2");
    TVolumeTable t = TVolumeTable::FromMountInfo(info, v.Sys(""));
    ASSERT_EQ(t.Volumes().size(), 1u);
    EXPECT_EQ(t.Volumes()[0].Letter, 'C');
}

TEST(TVolumeTable, SharesAndMountPointsAreFoundByWholeComponents) {
    TVolumeTable t;
    TVolume a;
    a.Letter = 'd';
    a.MountPoint = "/media/a";
    a.RemoteName = "\\\\srv\\share";
    t.Add(a);
    TVolume b = a;
    b.Letter = 'E';
    b.MountPoint = "/media/a/b";
    b.RemoteName = "\\\\srv\\share\\sub";
    t.Add(b);
    std::size_t length = 0;
    EXPECT_EQ(t.FindByRemoteName("\\\\SRV\\SHARE\\sub\\x", &length)->Letter, 'E');
    EXPECT_EQ(length, b.RemoteName.size());
    EXPECT_EQ(t.FindByRemoteName("\\\\srv\\share\\subway")->Letter, 'D');
    EXPECT_EQ(t.FindByRemoteName("\\\\srv\\shared"), nullptr);
    EXPECT_EQ(t.FindBySystemPath("/media/a/b/c")->Letter, 'E');
    EXPECT_EQ(t.FindBySystemPath("/media/a/bc")->Letter, 'D');
    EXPECT_EQ(t.FindBySystemPath("/media/ab"), nullptr);
}

// The machine's own table always has C: for / and lets the layer reach the working directory.
TEST(TVolumeTable, SystemMountsGiveARootDrive) {
    TempVolumes v;  // restores the machine's table afterwards
    SetVolumeTable(TVolumeTable::FromSystemMounts());
    const TVolume* c = GetVolumeTable().Find('C');
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->MountPoint, "/");
    EXPECT_TRUE(GetLogicalDrives() & (1u << 2));
    EXPECT_TRUE(DirectoryExists("C:\\"));
    EXPECT_FALSE(GetCurrentDir().empty());
}

}  // namespace
