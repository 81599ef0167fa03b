"""i1simctl against the simulated instrument inside the running application:
a press answers a page that waits for the button, a change takes effect at
once, and a bad request changes nothing."""

import os
import subprocess
import unittest

from harness import I1SIMCTL, AppTestCase, calls_page, simctl, wait_for_button_wait


class SimctlTest(AppTestCase):
    window_manager = False

    def test_press_answers_a_waiting_calibration(self):
        # A crashed earlier run leaves its socket behind; the next run serves anyway.
        crashed = self.start({"Server": calls_page(["doCalibrate"])})
        wait_for_button_wait(crashed)
        crashed.process.kill()
        crashed.wait()
        socket = crashed.home / "runtime" / "i1sim-control"
        self.assertTrue(socket.is_socket())

        app = self.start({"Server": calls_page(["doCalibrate"], ["doOneScanNow"])})
        wait_for_button_wait(app)
        self.assertEqual(simctl(app, "set", "I1SIM_DENSITIES", "0.1,0.2,0.3,0.4"), (0, "", ""))
        self.assertEqual(simctl(app, "press"), (0, "event 1 delivered\n", ""))
        self.assertEqual(app.results(), [["doCalibrate", "DONE"],
                                         ["doOneScanNow", "0.100000|0.200000|0.300000|0.400000"]])
        self.assertEqual(app.stderr.count("pressed"), 1)
        self.close(app)
        self.assertFalse(socket.exists())
        code, _, error = simctl(app, "press")
        self.assertEqual(code, 1)
        self.assertIn("no simulated instrument listens on " + str(socket), error)

    def test_unplugged_instrument_is_not_connected(self):
        app = self.start({"Server": calls_page(["isConnected"], ["doCalibrate"], ["isConnected"])})
        wait_for_button_wait(app)
        self.assertEqual(simctl(app, "set", "I1SIM_DEVICES", "0")[0], 0)
        self.assertEqual(simctl(app, "press")[0], 0)
        self.assertEqual(app.results(), [["isConnected", True], ["doCalibrate", "ERROR"],
                                         ["isConnected", False]])
        self.close(app)

    def test_bad_request_changes_nothing(self):
        app = self.start({"Server": calls_page(["isConnected"])},
                         {"I1SIM_DEVICES": "2", "I1SIM_PRESS_MS": "0,300"})
        self.assertEqual(app.results(), [["isConnected", True]])
        code, before, _ = simctl(app, "status")
        self.assertEqual(code, 0)
        self.assertIn("I1SIM_DEVICES=2\n", before)
        self.assertIn("I1SIM_PRESS_MS=0,300\n", before)
        self.assertIn("  I1_OpenDevice dev1\n", before)
        bad = [[], ["push"], ["press", "now"], ["event"], ["event", "one"], ["set", "I1SIM_DEVICES"],
               ["set", "I1SIM_DEVICES", "two"], ["set", "I1SIM_DEVICES", "65"],
               ["set", "I1SIM_DENSITIES", "0,1;0,2;0,3;0,4"], ["set", "I1SIM_PRESS_MS", "soon"],
               ["set", "I1SIM_CALIBRATE", "maybe"], ["set", "I1SIM_NOTHING", "1"],
               ["set", "I1SIM_CONTROL", "off"], ["set", "I1SIM_TRACE", str(app.home / "no" / "trace")],
               ["set", "I1SIM_DEVICES", "0", "now"]]
        for arguments in bad:
            with self.subTest(arguments=arguments):
                code, output, error = simctl(app, *arguments)
                self.assertEqual((code, output), (2, ""))
                self.assertRegex(error, r"^[^\n]+\n$")  # one line
        self.assertEqual(simctl(app, "status"), (0, before, ""))

        # The same status after a good change and a reset: the comparison can fail.
        self.assertEqual(simctl(app, "set", "I1SIM_DEVICES", "0")[0], 0)
        self.assertNotEqual(simctl(app, "status")[1], before)
        self.assertEqual(simctl(app, "reset")[0], 0)
        self.assertEqual(simctl(app, "status"), (0, before, ""))
        self.close(app)

    def test_help_whatever_the_environment(self):
        # Answered before the control socket is looked for: no session needed.
        session = {k: v for k, v in os.environ.items()
                   if k != "XDG_RUNTIME_DIR" and not k.startswith("I1SIM_")}
        for flag, control in (("--help", {}), ("-h", {"I1SIM_CONTROL": "not/absolute"})):
            with self.subTest(flag=flag, control=control):
                done = subprocess.run([str(I1SIMCTL), flag], env={**session, **control},
                                      capture_output=True, text=True, timeout=30)
                self.assertEqual((done.returncode, done.stderr), (0, ""))
                self.assertRegex(done.stdout, r"^usage: i1simctl press \| [^\n]+\n$")


if __name__ == "__main__":
    unittest.main()
