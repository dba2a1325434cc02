// The Helper and Light blocks: a name and a transform each; a light also
// keeps its colour, direction and intensity.
#include "app/HtmlLog.h"
#include "model/BlockReaders.h"

void ReadHelperBlock(MotionModelStream& stream, MMHelper& helper) {
    char line[kLineReadSize];
    stream.ReadLine(line);
    QuotedText(line, 0, helper.name, sizeof helper.name);
    LogMessage("Helper name: '%s'", helper.name);
    stream.ReadLine(line);
    QuotedText(line, 0, helper.parent, sizeof helper.parent);
    LogMessage("Helper Parent name: '%s'", helper.parent);
    stream.ReadLine(line);
    stream.ReadTransform(helper.transform);
    stream.ReadLine(line);
}

void ReadLightBlock(MotionModelStream& stream, MMLight& light) {
    char line[kLineReadSize];
    stream.ReadLine(line);
    QuotedText(line, 0, light.name, sizeof light.name);
    stream.ReadLine(line);  // parent name
    stream.ReadLine(line);
    stream.ReadTransform(light.transform);
    light.position.Clear();
    stream.ReadLine(line);
    stream.Scan("\tColor: %f %f %f\n", &light.colour[0], &light.colour[1], &light.colour[2]);
    stream.Scan("\tDirection: %f %f %f\n", &light.direction.x, &light.direction.y,
                &light.direction.z);
    stream.Scan("\tIntensity: %f\n", &light.intensity);
    stream.Scan("\tSpotInnerAngle: %*f\n");
    stream.Scan("\tSpotOuterAngle: %*f\n");
    stream.ReadLine(line);
    stream.ReadLine(line);
    stream.Scan("\tDecayRadius: %*f\n");
    stream.Scan("\tShadowColor: %*f %*f %*f\n");
    stream.Scan("\tShadowDensity: %*f\n");
    stream.ReadLine(line);
}
