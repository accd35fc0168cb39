#!/usr/bin/env python3
"""What Wine cannot show of the setup (it has no UAC, one user, and reports a folder's access list from the
Unix file modes), read from the script as makensis preprocesses it for each architecture, macros and the
architecture's branches resolved: the bar is never started with the setup's elevated token, the logon entry
is not written into the elevated account's own hive, the folder is locked before any file lands in it, and
the 32-bit setup refuses 64-bit Windows with the code the package manifest knows."""
import pathlib
import re
import subprocess
import sys
import unittest

MAKENSIS, SOURCE = sys.argv[1], pathlib.Path(sys.argv[2])
ARCHES = ("x64", "x86")
# Read, execute and synchronise: FILE_GENERIC_READ | FILE_GENERIC_EXECUTE.
READ_AND_RUN = 0x1200A9
SDDL_RIGHTS = {"FA": 0x1F01FF, "FR": 0x120089, "FX": 0x1200A0, "FW": 0x120116, "GA": 0x10000000}


def preprocessed(arch):
    command = [MAKENSIS, "-PPO", f"-DARCH={arch}", "-DPRODUCT=Corvane!", "-DSRCDIR=.", "-DOUTFILE=setup.exe",
               str(SOURCE / "installer/corvane.nsi")]
    return subprocess.run(command, capture_output=True, text=True, check=True).stdout


def block(text, opening):
    """The lines of the function or section that starts with the given line, up to its end."""
    lines = text.splitlines()
    start = next(i for i, line in enumerate(lines) if line.strip() == opening)
    end = next(i for i in range(start, len(lines)) if lines[i].strip() in ("FunctionEnd", "SectionEnd"))
    return lines[start:end]


class SetupScript(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.text = {arch: preprocessed(arch) for arch in ARCHES}

    def test_the_bar_is_started_only_with_the_shells_token(self):
        start = re.compile(r"^\s*(Exec\w*|nsExec::\w+|ExecShell\w*)\b.*corvane\.exe", re.I | re.M)
        for arch, text in self.text.items():
            self.assertIsNone(start.search(text), arch)
            # The finish page's "Start now" calls the script instead of running the program itself.
            self.assertIn('Call "StartBar"', text, arch)
            calls = re.findall(r"::(CreateProcess\w*|ShellExecute\w*|WinExec)\(", text)
            self.assertEqual(set(calls), {"CreateProcessWithTokenW"}, arch)
            token = "\n".join(block(text, "Function ShellUserToken"))
            self.assertLess(token.index("GetShellWindow"), token.index("DuplicateTokenEx"), arch)

    def test_the_logon_entry_goes_to_the_signed_in_users_hive(self):
        for arch, text in self.text.items():
            self.assertIsNone(re.search(r"WriteReg\w+\s+HKCU\s+\S*CurrentVersion\\Run", text), arch)
            hive = "\n".join(block(text, "Function OpenShellUserHive"))
            self.assertLess(hive.index("ImpersonateLoggedOnUser"), hive.index("RegOpenCurrentUser"), arch)
            self.assertLess(hive.index("RegOpenCurrentUser"), hive.index("RevertToSelf"), arch)

    def test_the_folder_is_locked_to_administrators_before_files_arrive(self):
        for arch, text in self.text.items():
            main = [line.strip() for line in block(text, 'Section "$(SetupMainSection)" SecMain')]
            locked = main.index("Call SecureInstallFolder")
            first_file = next(i for i, line in enumerate(main) if line.startswith("File "))
            self.assertLess(locked, first_file, arch)
            secure = "\n".join(block(text, "Function SecureInstallFolder"))
            self.assertIn("Abort", secure, arch)  # a folder that cannot be locked is refused
            # Owner, access list and its protection from inheritance, all three set.
            self.assertRegex(secure, r"SetNamedSecurityInfoW\([^)]*i 0x80000005", arch)
            sddl = re.search(r'w "(O:[^"]+)"', secure).group(1)
            self.assertTrue(sddl.startswith("O:BAD:P"), sddl)
            for flags, rights, sid in re.findall(r"\(A;([^;]*);([^;]+);;;([^)]+)\)", sddl):
                value = SDDL_RIGHTS.get(rights) or int(rights, 16)
                self.assertIn("OICI", flags, sddl)
                if value & ~READ_AND_RUN:
                    self.assertIn(sid, ("SY", "BA"), f"{sid} may change the folder: {sddl}")

    def test_the_32_bit_setup_refuses_64_bit_windows(self):
        for arch, text in self.text.items():
            init = "\n".join(block(text, "Function .onInit"))
            refusal = re.search(r"IsWow64Process.*?\$\(SetupWrongArchitecture\).*?SetErrorLevel (\d+)\s+Quit",
                                init, re.S)
            if arch == "x64":
                self.assertIsNone(refusal)
                continue
            self.assertIsNotNone(refusal)
            # In every language it names the setup that fits.
            texts = re.findall(r"^LangString SetupWrongArchitecture \S+ \"(.*)\"$", text, re.M)
            self.assertEqual(len(texts), 9)
            for refused in texts:
                self.assertIn("-x64-setup.exe", refused)
            # The package manager reads that code as "not for this system" and offers the x64 setup instead.
            manifest = (SOURCE / "installer/winget/Corvane.Corvane.installer.yaml.in").read_text()
            x86 = manifest[manifest.index("Architecture: x86"):]
            self.assertRegex(x86, rf"InstallerReturnCode: {refusal.group(1)}\s+ReturnResponse: systemNotSupported")


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1])
