#!/usr/bin/env python3
"""Joins the benchmark CSV lines, adds ratios to each group's reference, prints the table and the
target checks, and writes the joined CSV and a gnuplot script for the bar chart.
   report.py ours.csv pygame.csv out.csv out.gp"""
import csv
import sys

# Reference of each kind of group: ratios are "this / reference" measured in the same run.
# (The first of a group's references that the group holds.)
REFERENCES = {"alpha blit": ("GDI+ DrawImage PARGB", "bound: SSE2 copy at 10 bytes/pixel"),
              "colour-key copy": ("GDI TransparentBlt",), "scene": ("pygame LayeredDirty",),
              "cost": ("0 still sprites",)}


def kind(group):
    return next(k for k in REFERENCES if group.startswith(k))


def main(ours, peer, out_csv, out_gp):
    rows = []
    for path in (ours, peer):
        with open(path, newline="") as f:
            rows += [r for r in csv.DictReader(f, fieldnames=["group", "name", "value", "unit"])
                     if r["group"] != "group"]
    for r in rows:
        r["value"] = float(r["value"])
    by = {(r["group"], r["name"]): r["value"] for r in rows}
    groups = list(dict.fromkeys(r["group"] for r in rows))
    def reference(group):
        return next((n for n in REFERENCES[kind(group)] if (group, n) in by), None)

    for r in rows:
        ref = by.get((r["group"], reference(r["group"])))
        r["ratio"] = r["value"] / ref if ref else float("nan")

    width = max(len(r["name"]) for r in rows)
    print()
    for g in groups:
        print(f"{g}  (x = ratio to {reference(g)})")
        for r in (r for r in rows if r["group"] == g):
            print(f"  {r['name']:<{width}}  {r['value']:10.1f} {r['unit']:<9} x{r['ratio']:7.2f}")
        print()

    def val(group, name):
        return by.get((group, name))

    print("targets")
    for g in (g for g in groups if g.startswith("alpha blit")):
        best = max(v for (gg, n), v in by.items() if gg == g and n.startswith("VorImage4 ") and "opacity" not in n)
        checks = [("best / GDI+ PARGB", val(g, "GDI+ DrawImage PARGB"), 5.0),
                  ("best / AlphaBlend", val(g, "GDI AlphaBlend"), 3.0),
                  ("best / bandwidth bound", val(g, "bound: SSE2 copy at 10 bytes/pixel"), 0.70)]
        for label, ref, goal in checks:
            if ref:
                ratio = best / ref
                print(f"  {g}: {label} = {ratio:.2f} (goal >= {goal:g}) {'met' if ratio >= goal else 'MISSED'}")
    g = "scene 200 sprites"
    ours_fps, peer_fps = val(g, "VorImage4 dirty rectangles"), val(g, "pygame LayeredDirty")
    if ours_fps and peer_fps:
        ratio = ours_fps / peer_fps
        print(f"  {g}: dirty rectangles / pygame = {ratio:.2f} (goal >= 3) {'met' if ratio >= 3 else 'MISSED'}")
    print()

    with open(out_csv, "w", newline="") as f:
        w = csv.writer(f)
        w.writerow(["group", "name", "value", "unit", "ratio_to_reference", "reference"])
        for r in rows:
            w.writerow([r["group"], r["name"], f"{r['value']:.2f}", r["unit"], f"{r['ratio']:.3f}",
                        reference(r["group"])])

    # Two panels: blits in Mpixel/s, scenes in frames per second; log scale, one bar per result.
    # Ours in the panel's colour, the others (and the bound) in grey.
    def data_block(selected, colour):
        def bar(r):
            c = int(colour[1:], 16) if r["name"].startswith(("VorImage4", "0 ", "1000", "5000")) else 0x909090
            return f"\"{r['group']}: {r['name']}\" {r['value']:.2f} {c}"
        return "\n".join(bar(r) for r in selected) + "\ne\n"

    panels = [(unit, title, colour, [r for r in rows if r["unit"] == unit]) for unit, title, colour in [
        ("Mpixel/s", "Blits onto a 24-bit back buffer as large as the picture (Mpixel/s, log scale)", "#3070b0"),
        ("fps", "1024x768 scene, moving 64x64 alpha sprites (frames per second, log scale)", "#c06030"),
        ("us/frame", "Frame cost, one moving sprite: surface size and still sprites (us/frame, log scale)",
         "#40a040")]]
    panels = [p for p in panels if p[3]]
    with open(out_gp, "w") as f:
        f.write(f"set terminal pngcairo size 1600,{760 * len(panels)} font 'DejaVu Sans,9'\n")
        f.write(f"set output '{out_gp.rsplit('/', 1)[0]}/bench.png'\n")
        f.write(f"set multiplot layout {len(panels)},1\nset style fill solid 0.8 border -1\nset boxwidth 0.8\n")
        f.write("set logscale y\nset grid ytics\nset xtics rotate by 40 right noenhanced\nunset key\n")
        f.write("set bmargin 18\nset lmargin 30\n")
        for _, title, colour, selected in panels:
            f.write(f"set title '{title}'\n")
            f.write("plot '-' using 0:2:3:xtic(1) with boxes lc rgb variable\n" + data_block(selected, colour))
        f.write("unset multiplot\n")


if __name__ == "__main__":
    main(*sys.argv[1:5])
