"""Calibration and scans from the page of the real application, with the
simulated instrument pressing its button by itself."""

import unittest

from harness import AppTestCase, calls_page


class MeasurementTest(AppTestCase):
    window_manager = False

    def run_calls(self, calls, environment):
        app = self.start({"Server": calls_page(*calls)}, environment)
        results = app.results()
        self.close(app)
        return app, results

    def test_calibrate_and_scan_after_button_press(self):
        # A desktop that writes decimal commas must still get points.
        app, results = self.run_calls(
            [["doCalibrate"], ["doOneScan"], ["doOneScanNow"]],
            {"I1SIM_PRESS_MS": "300", "I1SIM_DENSITIES": "0.1,1.25,0,-0.05", "LC_ALL": "de_DE.UTF-8"})
        line = "0.100000|1.250000|0.000000|-0.050000"
        self.assertEqual(results, [["doCalibrate", "DONE"], ["doOneScan", line], ["doOneScanNow", line]])
        self.assertEqual(bytes(app.stdout), b"Calibrating 'ReflectanceSpot' ...")
        self.assertEqual(app.stderr.count("pressed"), 2)
        trace = app.trace_lines()
        calibrate = trace.index("I1_Calibrate dev1")
        self.assertEqual(trace[calibrate - 4:calibrate], [
            'I1_SetOption dev1 "MeasurementMode" "ReflectanceSpot"',
            'I1_SetOption dev1 "Colorimetric.DensityFilterMode" "Auto"',
            'I1_SetOption dev1 "Colorimetric.WhiteBase" "Absolute"',
            'I1_GetOptionD dev1 "MeasurementMode"'])

    def test_failing_calibration(self):
        app, results = self.run_calls(
            [["doCalibrate"], ["doCalibrateNow"]],
            {"I1SIM_PRESS_MS": "300", "I1SIM_CALIBRATE": "fail", "I1SIM_OPTIONS": "LastError=Lamp failure"})
        self.assertEqual(results, [["doCalibrate", "ERROR"], ["doCalibrateNow", "ERROR"]])
        self.assertEqual(bytes(app.stdout),
                         b"Calibrating 'ReflectanceSpot' ...\n FAIL (last error: Lamp failure)" * 2)

    def test_no_instrument(self):
        app, results = self.run_calls([["doCalibrate"]], {"I1SIM_DEVICES": "0"})
        self.assertEqual(results, [["doCalibrate", "NOT_CONNECTED"]])
        self.assertEqual(bytes(app.stdout), b"")


if __name__ == "__main__":
    unittest.main()
