# The parts of the model with their count and price, and the total; the list also goes to the
# clipboard.
import kxd

counts = {}
for index in range(kxd.GetPartCount()):
    number = kxd.GetPartAtIndex(index).Name[1:6]
    counts[number] = counts.get(number, 0) + 1

lines = []
total = 0.0
for number in sorted(counts):
    definition = kxd.GetDefinitionForPart(number.upper())
    name = definition.Name if definition else "?"
    price = definition.Price if definition else 0.0
    total += counts[number] * price
    lines.append("%4d x %-8s %-30s %8.2f" % (counts[number], number, name, counts[number] * price))
lines.append("%-45s %8.2f" % ("Summe", total))

text = "\n".join(lines)
print(text)
kxd.CopyTextToClipboard(text)
