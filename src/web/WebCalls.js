// The module's calls as its declaration file (web/model/tintwright-model.d.ts)
// gives them, put around the bindings once the module runs (linked in with
// --post-js, inside the module's own scope).
//
// Each argument is checked and taken out of the page's objects here, before
// the module runs: a number where one is meant (a whole one for an index or a
// colour), a string, a Uint8Array, an Int32Array or an array of whole
// numbers, an object of slider values. What is wrong is a TypeError naming
// the argument; what needs the scheme to judge (ranges, names) the module
// checks. No code of the page's (a getter, a valueOf) can run while the
// module is inside a call, so none can change or free what the call works on.
//
// The module never throws through its own frames: a call that fails leaves
// its error in pendingFailure (src/web/WebErrors.cpp) and returns, freeing
// what it took, and the error is thrown here.
var pendingFailure = null;

addOnPostRun(function () {
  'use strict';

  function describe(value) {
    if (typeof value === 'string') return value.length > 40 ? 'a string of ' + value.length + ' characters' : JSON.stringify(value);
    if (value === null || typeof value !== 'object' && typeof value !== 'function') return String(value);
    return Array.isArray(value) ? 'an array' : typeof value === 'function' ? 'a function' : 'an object';
  }

  function refuse(argument, expected, value) {
    throw new TypeError(argument + ' must be ' + expected + ', not ' + describe(value));
  }

  // The typed arrays' own accessors, which a subclass or a proxy cannot change.
  var typedArrayPrototype = Object.getPrototypeOf(Uint8Array.prototype);
  function accessor(name) { return Object.getOwnPropertyDescriptor(typedArrayPrototype, name).get; }
  var tagOf = accessor(Symbol.toStringTag), bufferOf = accessor('buffer'), offsetOf = accessor('byteOffset'), lengthOf = accessor('length');

  function typedArray(value, Type) {
    return ArrayBuffer.isView(value) && tagOf.call(value) === Type.name
      ? new Type(bufferOf.call(value), offsetOf.call(value), lengthOf.call(value))
      : null;
  }

  function number(argument) {
    return function (value) {
      if (typeof value !== 'number') refuse(argument, 'a number', value);
      return value;
    };
  }

  function whole(argument) {
    return function (value) {
      if (!Number.isInteger(value)) refuse(argument, 'a whole number', value);
      return value;
    };
  }

  function colour(argument) {
    return function (value) {
      if (!Number.isInteger(value)) refuse(argument, 'a colour, a whole number 0xAARRGGBB', value);
      return value;
    };
  }

  // How much of a name to give: all of it when left out.
  function maxLength(value) {
    if (value === undefined) return -1;
    if (!Number.isInteger(value)) refuse('maxLength', 'a whole number', value);
    if (value < 0) throw new RangeError('maxLength must be 0 or more, not ' + value);
    return value;
  }

  // A string as its UTF-16 code units, exactly: a lone surrogate stays one.
  function text(argument) {
    return function (value) {
      if (typeof value !== 'string') refuse(argument, 'a string', value);
      var units = new Uint16Array(value.length);
      for (var i = 0; i < value.length; ++i) units[i] = value.charCodeAt(i);
      return units;
    };
  }

  function bytes(argument) {
    return function (value) {
      return typedArray(value, Uint8Array) || refuse(argument, 'a Uint8Array', value);
    };
  }

  // Indices outside what an Int32Array holds are outside any list: -1.
  function indices(argument) {
    return function (value) {
      var same = typedArray(value, Int32Array);
      if (same !== null) return same;
      if (!Array.isArray(value)) refuse(argument, 'an Int32Array or an array of whole numbers', value);
      var result = new Int32Array(value.length);
      for (var i = 0; i < result.length; ++i) {
        var index = value[i];
        if (!Number.isInteger(index)) refuse(argument + '[' + i + ']', 'a whole number', index);
        result[i] = index >= 0 && index <= 0x7fffffff ? index : -1;
      }
      return result;
    };
  }

  var sliderNames = ['red', 'green', 'blue', 'hue', 'saturation', 'brightness', 'contrast', 'contrastCentre'];

  function sliders(argument) {
    return function (value) {
      if (typeof value !== 'object' || value === null) refuse(argument, 'an object of slider values', value);
      var plain = {};
      sliderNames.forEach(function (name) {
        var slider = value[name];
        if (slider !== undefined) plain[name] = number(argument + '.' + name)(slider);
      });
      return plain;
    };
  }

  function checked(call, checks) {
    return function () {
      var args = new Array(checks.length);
      for (var i = 0; i < checks.length; ++i) args[i] = checks[i](arguments[i]);
      var result = call.apply(this, args);
      if (pendingFailure !== null) {
        var failure = pendingFailure;
        pendingFailure = null;
        throw failure;
      }
      return result;
    };
  }

  function wrapAll(target, signatures) {
    Object.keys(signatures).forEach(function (name) {
      target[name] = checked(target[name], signatures[name]);
    });
  }

  var group = whole('group'), start = whole('start'), count = whole('count');

  wrapAll(Module, {
    formatScheme: [bytes('bytes')],
    tweakColour: [colour('argb'), sliders('sliders')],
    withForcedHue: [colour('argb'), number('hue')],
    invertedColour: [colour('argb')],
    sliderRanges: [],
    openScheme: [bytes('bytes')],
    allocatedBytes: [],
  });

  wrapAll(Module['Scheme'].prototype, {
    save: [],
    numColours: [],
    colourName: [whole('index'), maxLength],
    colourArgb: [whole('index')],
    colourArgbs: [start, count],
    numGroups: [],
    groupName: [group, maxLength],
    numMembers: [group],
    memberColourIndices: [group, start, count],
    storedColours: [group, start, count],
    previewColours: [group, start, count],
    addGroup: [text('name')],
    deleteGroup: [group],
    renameGroup: [group, text('name')],
    addColoursToGroup: [group, indices('colourIndices')],
    pickColour: [group, whole('member'), colour('argb')],
    setSlider: [group, text('slider'), number('value')],
    setContrast: [group, number('centre'), number('amount')],
    continueTweak: [group, whole('maxMembers')],
    finishTweak: [group],
    resetTweak: [group],
    invertColours: [group],
    forceHue: [group, number('hue')],
    applyTweak: [group],
  });
});
