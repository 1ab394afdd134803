# How many parts of each library group the model holds.
import kxd

GROUPS = {}
for index in range(kxd.GetPartCount()):
    number = kxd.GetPartAtIndex(index).Name[1:6]
    definition = kxd.GetDefinitionForPart(number.upper())
    group = definition.Group if definition else -1
    GROUPS[group] = GROUPS.get(group, 0) + 1

for group in sorted(GROUPS):
    print("Gruppe %2d: %d Bauteile" % (group, GROUPS[group]))
print("Zusammen: %d Bauteile" % kxd.GetPartCount())
