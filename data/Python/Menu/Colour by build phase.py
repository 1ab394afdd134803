# Every part takes the colour of its build phase, so the phases can be told apart at a glance.
import kxd

PALETTE = ["RedColor", "OrangeColor", "YellowColor", "GreenColor", "CyanColor", "BlueColor",
           "PurpleColor", "MagentaColor", "BrownColor", "GrayColor"]

phases = {}
for index in range(kxd.GetPartCount()):
    part = kxd.GetPartAtIndex(index)
    colour = PALETTE[(part.Phase - 1) % len(PALETTE)]
    getattr(part.Object3D.Color, colour)()
    part.CommitChanges(True)
    phases[part.Phase] = colour

for phase in sorted(phases):
    print("Phase %d: %s" % (phase, phases[phase][:-5]))
